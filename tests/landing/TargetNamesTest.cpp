// SPDX-License-Identifier: GPL-3.0-or-later
#include "landing/TargetNames.h"

#include <gtest/gtest.h>

#include <QDir>
#include <cerrno>

#include "landing/OutputNaming.h"
#include "shell/PathHelpers.h"
#include "support/FuseMount.h"
#include "support/ReduceTestSupport.h"
#include "support/TmpfsMount.h"

namespace mirelune {
namespace {

using test::Q;

// How the targets measured answer a new name: which characters they refuse,
// with which error, and how they count a name's length.
struct Target {
    const char* name;
    int refusal;                   // errno for a refused character
    bool asciiOnly;                // every character outside ASCII refused too
    bool lengthInBytes;            // else in UTF-16 units, as FAT and exFAT count
    bool endSpaceRefused = false;  // a name that ends in a space, as the kernel's FAT
};

NameTrial TrialOn(const Target& target, int* trials = nullptr) {
    return [target, trials](NameProbe&, const QString& name) {
        if (trials != nullptr) {
            ++*trials;
        }
        for (const QChar c : name) {
            if (QStringLiteral("\"*:<>?\\|").contains(c) ||
                (target.asciiOnly && c.unicode() > 127)) {
                return target.refusal;
            }
        }
        if (target.endSpaceRefused && name.endsWith(' ')) {
            return target.refusal;
        }
        const qsizetype length = target.lengthInBytes ? name.toUtf8().size() : name.size();
        return length > 255 ? ENAMETOOLONG : 0;
    };
}

const Target kFusefat{"fusefat", EPERM, true, false};
const Target kExfat{"exfat-fuse", ENOENT, false, false};
const Target kExt4{"ext4", 0, false, true};
const Target kVfat{"vfat", EINVAL, false, false, true};

// On a disk whose names are known the answer needs no file: every name up
// to the limit in bytes, none longer; and nothing is made.
TEST(TryName, AnswersFromTheFileSystemWhereItsNamesAreKnown) {
    test::ScratchDir dir;
    const QString folder = Q(dir.file("ram"));
    const test::TmpfsMount mount(folder, 0);
    if (!mount.mounted()) {
        GTEST_SKIP() << mount.why();
    }
    ASSERT_TRUE(TakesEveryName(folder));
    const struct {
        QString name;
        int error;
    } cases[] = {
        {QStringLiteral("Who?: *.mp3"), 0},
        {QString(255, 'x'), 0},
        {QString(256, 'x'), ENAMETOOLONG},
        {QString::fromUtf8("\xC3\xA9") + QString(253, 'x'), 0},
        {QString::fromUtf8("\xC3\xA9") + QString(254, 'x'), ENAMETOOLONG},
    };
    NameProbe probe(folder);
    for (const auto& c : cases) {
        EXPECT_EQ(TryName(probe, c.name), c.error) << c.name.size();
    }
    EXPECT_EQ(test::EntriesOf(folder), QStringList());
}

TEST(TargetNames, ARefusedNameBecomesOneTheTargetTakesByOneRule) {
    const QString e130(130, QChar(0xE9));  // 260 bytes, 130 UTF-16 units
    const struct {
        const Target& target;
        QString stem;
        QString tail;
        QString fitted;
    } cases[] = {
        {kFusefat, "Who Are You?", ".mp3", "Who Are You_.mp3"},
        {kFusefat, "a:b*c|d", " (2).mp3", "a_b_c_d (2).mp3"},
        {kFusefat, QString::fromUtf8("Caf\xC3\xA9 \xC3\x89t\xC3\xA9"), ".mp3", "Cafe Ete.mp3"},
        {kFusefat,
         QString::fromUtf8("Stra\xC3\x9F"
                           "e"),
         ".mp3", "Stra_e.mp3"},
        {kFusefat, QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x8E\xB5"), ".mp3",
         "__ _.mp3"},
        {kFusefat, "Track (1) - Intro. ", ".mp3", "Track (1) - Intro. .mp3"},
        {kExfat, "Who Are You?", ".mp3", "Who Are You_.mp3"},
        {kExfat, QString::fromUtf8("Caf\xC3\xA9"), ".mp3", QString::fromUtf8("Caf\xC3\xA9.mp3")},
        // Longer than the system's stated 255 bytes, but exFAT counts characters.
        {kExfat, e130, ".mp3", e130 + ".mp3"},
        {kExfat, QString(260, 'x'), " (2).mp3", QString(247, 'x') + " (2).mp3"},
        {kExt4, "Who Are You?", ".mp3", "Who Are You?.mp3"},
        {kVfat, "Who Are You?", ".mp3", "Who Are You_.mp3"},
        {kExt4, e130, ".mp3", QString(125, QChar(0xE9)) + ".mp3"},
        {kExt4, QString(251, 'x'), "-reduced.mp3", QString(243, 'x') + "-reduced.mp3"},
        // A character outside the Basic Multilingual Plane goes whole: no
        // lone surrogate, which the file system would get as "?" or U+FFFD.
        {kExt4, QString(250, 'x') + QString::fromUtf8("\xF0\x9F\x8E\xB5"), ".mp3",
         QString(250, 'x') + ".mp3"},
    };
    test::ScratchDir dir;
    const QString folder = Q(dir.path().string());
    for (const auto& c : cases) {
        TargetNames names(TrialOn(c.target));
        EXPECT_EQ(names.fit(folder, c.stem, c.tail), c.fitted)
            << c.target.name << ": " << c.stem.toStdString();
    }
}

TEST(TargetNames, EachCharacterIsTriedOncePerTargetAndFoldersFollowTheRule) {
    test::ScratchDir dir;
    const QString root = Q(dir.path().string());
    int trials = 0;
    TargetNames names(TrialOn(kFusefat, &trials));
    EXPECT_EQ(names.fitFolders(root, QString::fromUtf8("Who?/Caf\xC3\xA9")),
              root + QString::fromUtf8("/Who_/Cafe"));
    // The plain trial name, "?" and "é" (and its base letter, every target's).
    EXPECT_EQ(trials, 3);
    EXPECT_EQ(names.fit(root + "/not made yet", "Why?", ".mp3"), "Why_.mp3");
    EXPECT_EQ(trials, 4);  // "." is new; "?" is known
    EXPECT_TRUE(
        QDir(root).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

TEST(TargetNames, ATargetWhereNothingCanBeMadeKeepsEveryName) {
    test::ScratchDir dir;
    TargetNames names([](NameProbe&, const QString&) { return EROFS; });
    EXPECT_EQ(names.fit(Q(dir.path().string()), "Who?", ".mp3"), "Who?.mp3");
}

// exFAT counts a name's length in UTF-16 units, so names longer than the
// system's stated 255 bytes are tried on the stick itself.
TEST(TargetNames, LongNamesOnExfatFitAsTheStickCountsThem) {
    test::ScratchDir dir;
    const QString stick = Q(dir.file("stick"));
    const test::FuseMount mount(QStringLiteral("exfat"), stick + ".img", stick);
    if (!mount.mounted()) {
        GTEST_SKIP() << mount.why();
    }
    const QString e(QChar(0xE9));
    const struct {
        QString stem;
        QString tail;
        QString fitted;
    } cases[] = {
        {e.repeated(130), ".mp3", e.repeated(130) + ".mp3"},
        {QString(300, 'x'), " (2).mp3", QString(247, 'x') + " (2).mp3"},
        {"Who?" + e.repeated(260), "-reduced.mp3", "Who_" + e.repeated(239) + "-reduced.mp3"},
    };
    TargetNames names;
    for (const auto& c : cases) {
        EXPECT_EQ(names.fit(stick, c.stem, c.tail), c.fitted) << c.stem.toStdString();
    }
    EXPECT_EQ(names.fitFolders(stick, "new/" + e.repeated(300)), stick + "/new/" + e.repeated(255));
    EXPECT_EQ(test::EntriesOf(stick), QStringList());
}

// A second run planning while the first tries a long name sees the name
// free: the trial's file is in the probe folder, not at the name.
TEST(TargetNames, ALongNameTrialLeavesTheNameFreeForASecondPlanner) {
    test::ScratchDir dir;
    const QString stick = Q(dir.file("stick"));
    const test::FuseMount mount(QStringLiteral("exfat"), stick + ".img", stick);
    if (!mount.mounted()) {
        GTEST_SKIP() << mount.why();
    }
    const QString source = Q(dir.file("song.mp3"));
    test::WriteBytes(source, "source");
    // 264 bytes, more than the system's stated limit: tried on the stick.
    const QString wanted = stick + "/" + QString(130, QChar(0xE9)) + ".mp3";
    int seen = 0;
    TargetNames first([&](NameProbe& probe, const QString& name) {
        probe.setWhileMade([&, long_ = name.size() > 100] {
            if (!long_) {
                return;
            }
            ++seen;
            OutputNames second;
            const OutputChoice choice = second.decide(source, wanted);
            EXPECT_EQ(choice.path, wanted);
            EXPECT_EQ(choice.kind, OutputChoice::Kind::Free);
            const QStringList entries = test::EntriesOf(stick);
            ASSERT_EQ(entries.size(), 1);
            EXPECT_TRUE(entries[0].startsWith(".mirelune-probe-")) << entries[0].toStdString();
        });
        return probe.tryName(name);
    });
    EXPECT_EQ(stick + "/" + first.fit(stick, QString(130, QChar(0xE9)), ".mp3"), wanted);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(test::EntriesOf(stick), QStringList());
}

// Whether a stick takes a name, by the rules guessed without touching it and
// by what its driver answers. They differ where a driver breaks the rules:
// fusefat takes neither DEL nor any letter outside ASCII, and neither driver
// refuses a name that ends in a space or a dot as Windows does.
struct NameCase {
    QString name;
    bool guessed;
    bool fusefat;
    bool exfat;
};

const QString kE(QChar(0xE9));
const NameCase kNameCases[] = {
    {"plain.mp3", true, true, true},
    {" lead;+,=[]'.mp3", true, true, true},
    {"a\"b", false, false, false},
    {"a*b", false, false, false},
    {"a/b", false, false, false},
    {"a:b", false, false, false},
    {"a<b", false, false, false},
    {"a>b", false, false, false},
    {"a?b", false, false, false},
    {"a\\b", false, false, false},
    {"a|b", false, false, false},
    {"a\tb", false, false, false},
    {QStringLiteral("a") + QChar(31) + "b", false, false, false},
    {"a\x7f"
     "b",
     true, false, true},
    {"end ", false, true, true},
    {"end.", false, true, true},
    {"Caf" + kE, true, false, true},
    {QString(255, 'x'), true, true, true},
    {QString(256, 'x'), false, false, false},
    {kE.repeated(255), true, false, true},
    {kE.repeated(256), false, false, false},
};

TEST(WindowsRulesAnswer, RefusesWhatWindowsRefuses) {
    for (const NameCase& c : kNameCases) {
        EXPECT_EQ(WindowsRulesAnswer(c.name, 255) == 0, c.guessed) << c.name.toStdString();
    }
}

// The guess on a stick itself, where it is made (nothing is tried), beside
// what the stick's driver says when the name is tried.
TEST(GuessName, OnSticksAgreesWithTheirDriversButWhereTheyBreakTheRules) {
    for (const char* kind : {"vfat", "exfat"}) {
        SCOPED_TRACE(kind);
        test::ScratchDir dir;
        const QString stick = Q(dir.file("stick"));
        const test::FuseMount mount(QString::fromLatin1(kind), stick + ".img", stick);
        if (!mount.mounted()) {
            GTEST_SKIP() << mount.why();
        }
        NameProbe tried(stick);
        for (const NameCase& c : kNameCases) {
            NameProbe guessed(stick);
            EXPECT_EQ(GuessName(guessed, c.name) == 0, c.guessed) << c.name.toStdString();
            EXPECT_EQ(tried.tryName(c.name) == 0, kind[0] == 'v' ? c.fusefat : c.exfat)
                << c.name.toStdString();
        }
    }
}

}  // namespace
}  // namespace mirelune

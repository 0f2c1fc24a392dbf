// SPDX-License-Identifier: GPL-3.0-or-later
// What killed runs left: known by name and mark, removed by the next run, and
// never while its run may still be going.
#include "landing/LeftoverSweep.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QSysInfo>

#include "runs/ResultJournal.h"
#include "runs/RunMark.h"
#include "runs/RunMarkText.h"
#include "support/ReduceTestSupport.h"

namespace mirelune {
namespace {

using test::Q;

const QDateTime kNow = QDateTime::currentDateTime();

QByteArray Owner(const QByteArray& host, qint64 pid) {
    return host + '\n' + QByteArray::number(pid) + '\n';
}

const QByteArray kHere = QSysInfo::machineHostName().toUtf8();

void Put(const QString& path, const QByteArray& content, qint64 secondsAgo) {
    test::WriteBytes(path, content);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(kNow.addSecs(-secondsAgo), QFileDevice::FileModificationTime));
}

TEST(LeftoverSweep, RemovesOnlyWhatNoRunningRunHolds) {
    const test::ScratchDir dir;
    const QString out = Q(dir.path().string());
    const QString runs = RunFolderIn(out);
    ASSERT_TRUE(QDir().mkpath(runs));
    const qint64 day = 24 * 60 * 60;
    const QByteArray mark = "MIRELUNE-RUN\n";
    Put(RunMarkPath(out, "deadhere"), mark + Owner(kHere, test::DeadPid()), 0);
    Put(RunMarkPath(out, "livehere"), mark + Owner(kHere, ::getpid()), 2 * day);
    Put(RunMarkPath(out, "farnow00"), mark + Owner("elsewhere", 1), day - 60);
    Put(RunMarkPath(out, "farold00"), mark + Owner("elsewhere", 1), day + 60);
    Put(RunMarkPath(out, "cutshort"), mark + "elsewhere", 0);
    Put(runs + "/host-1-abc.log", "a record, never swept", 2 * day);
    const struct {
        const char* name;
        qint64 secondsAgo;
        bool stays;
    } files[] = {
        {".mirelune-deadhere-aaaaaa.part", 0, false},
        {".mirelune-livehere-bbbbbb.part", 2 * day, true},
        {".mirelune-farnow00-cccccc.part", 0, true},
        {".mirelune-farold00-dddddd.part", 0, false},
        {".mirelune-cutshort-eeeeee.part", 0, true},
        {".mirelune-nomark00-ffffff.part", 59 * 60, true},
        {".mirelune-nomark00-gggggg.part", 61 * 60, false},
        {".mirelune-hhhhhh.part", day - 60, true},
        {".mirelune-iiiiii.part", day + 60, false},
        {".mirelune-deadhere-jjjjjj.mp3", 2 * day, true},
    };
    QStringList staying;
    for (const auto& f : files) {
        Put(out + '/' + f.name, "partial", f.secondsAgo);
        if (f.stays) {
            staying.append(f.name);
        }
    }
    Put(out + "/dead.mp3", "MIRELUNE-UNFINISHED\n" + Owner(kHere, test::DeadPid()) + "x\n", 0);
    Put(out + "/live.mp3", "MIRELUNE-UNFINISHED\n" + Owner(kHere, ::getpid()) + "x\n", 0);
    staying << "live.mp3";
    staying.sort();

    SweepResultFolder(out, TargetClock{kNow, 0});
    EXPECT_EQ(test::EntriesOf(out), staying);
    EXPECT_EQ(test::EntriesOf(runs),
              QStringList({"cutshort.run", "farnow00.run", "host-1-abc.log", "livehere.run"}));
}

// In a folder shared with others the sweep removes only regular files that
// dead runs made: the running user's temporaries and marks, and held names
// that hold nothing but the mark, whoever's they are. Nothing through a link,
// no FIFO (which is never opened so as to wait), no user's file.
TEST(LeftoverSweep, RemovesOnlyRegularFilesThatDeadRunsMade) {
    const test::ScratchDir dir;
    const QString out = Q(dir.file("out"));
    const QString elsewhere = Q(dir.file("elsewhere"));
    const QString runs = RunFolderIn(out);
    ASSERT_TRUE(QDir().mkpath(runs));
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    const qint64 day = 24 * 60 * 60;
    const uid_t me = ::geteuid();
    const uid_t other = 65534;
    const QByteArray deadMark = "MIRELUNE-RUN\n" + Owner(kHere, test::DeadPid());
    const QByteArray deadHeld = "MIRELUNE-UNFINISHED\n" + Owner(kHere, test::DeadPid()) + "k3x\n";
    Put(elsewhere + "/victim", deadHeld, 2 * day);
    enum Kind { File, Fifo, Link };
    const struct {
        const char* name;  // below out
        Kind kind;
        uid_t owner;
        QByteArray content;
        bool stays;
    } cases[] = {
        {".mirelune/deadhere.run", File, me, deadMark, false},
        {".mirelune/deadothr.run", File, other, deadMark, true},
        {".mirelune/notamark.run", File, other, "junk", true},
        {".mirelune/fifo0000.run", Fifo, me, {}, true},
        {".mirelune-deadhere-aaaaaa.part", File, me, "partial", false},
        {".mirelune-deadhere-bbbbbb.part", File, other, "partial", true},
        {".mirelune-deadhere-cccccc.part", Fifo, me, {}, true},
        {".mirelune-deadhere-dddddd.part", Link, me, {}, true},
        {".mirelune-fifo0000-eeeeee.part", File, me, "partial", true},
        {".mirelune-backup.part", File, other, "a user's backup", true},
        {"held.mp3", File, other, deadHeld, false},
        {"held and more.mp3", File, me, deadHeld + "user data", true},
        {"held link.mp3", Link, me, {}, true},
    };
    QStringList staying{"elsewhere/victim"};
    for (const auto& c : cases) {
        const QString path = out + '/' + c.name;
        const QByteArray native = QFile::encodeName(path);
        if (c.kind == File) {
            Put(path, c.content, 2 * day);
        } else if (c.kind == Fifo) {
            ASSERT_EQ(::mkfifo(native.constData(), 0644), 0);
        } else {
            ASSERT_TRUE(QFile::link(elsewhere + "/victim", path));
        }
        ASSERT_EQ(::lchown(native.constData(), c.owner, c.owner), 0);
        if (c.stays) {
            staying.append(QStringLiteral("out/") + c.name);
        }
    }
    Put(runs + "/deadhere.run", deadMark, 0);  // the marks' times after their files'
    Put(runs + "/deadothr.run", deadMark, 0);
    ASSERT_EQ(::lchown(QFile::encodeName(runs + "/deadothr.run").constData(), other, other), 0);

    SweepResultFolder(out, TargetClock{kNow, 0});
    QStringList left;
    for (const QString& name : test::FilesUnder(Q(dir.path().string()))) {
        left.append(name);
    }
    for (const QString& name : test::EntriesOf(runs)) {
        left.append("out/.mirelune/" + name);
    }
    for (const QString& name :
         QDir(out).entryList({".mirelune-*", "held*"}, QDir::System | QDir::Hidden | QDir::Files)) {
        left.append("out/" + name);
    }
    left.removeDuplicates();
    left.sort();
    staying.sort();
    EXPECT_EQ(left, staying);
    EXPECT_EQ(test::ReadBytes(elsewhere + "/victim"), deadHeld);
}

// A record folder that is a link to another folder is neither swept, nor
// marked, nor written to: the row is told why.
TEST(LeftoverSweep, ARecordFolderThatIsALinkIsLeftAlone) {
    const test::ScratchDir dir;
    const QString out = Q(dir.file("out"));
    const QString elsewhere = Q(dir.file("elsewhere"));
    ASSERT_TRUE(QDir().mkpath(out));
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    ASSERT_TRUE(QFile::link(elsewhere, RunFolderIn(out)));
    Put(elsewhere + "/installer.run", "three days old", 3 * 24 * 60 * 60);
    Put(elsewhere + "/deadhere.run", "MIRELUNE-RUN\n" + Owner(kHere, test::DeadPid()), 0);

    SweepResultFolder(out, TargetClock{kNow, 0});
    {
        const RunMarkHold hold(out);
        EXPECT_FALSE(hold.marked());
    }
    ResultJournals journals;
    EXPECT_EQ(journals.journalFor(out).append({"a.mp3", {1, 0}, "/m/a.mp3", {2, 0}}),
              RunFolderIn(out) +
                  " is not a folder (a link or a file): the records of results are kept only "
                  "in a real folder; remove it, or choose another output folder");
    EXPECT_EQ(test::EntriesOf(elsewhere), QStringList({"deadhere.run", "installer.run"}));
}

// A run of this machine whose process is gone, as marks name it now.
RunOwner DeadRun() {
    RunOwner owner = OwnerOfThisProcess();
    owner.pid = test::DeadPid();
    return owner;
}

// What a run killed at any moment leaves at a name it announced is its
// leftover: nothing, part of its unfinished mark, or a copy cut short that
// still starts with the mark. Anything else there stays, and so does an empty
// file at a name no dead run announced, or another user's.
TEST(LeftoverSweep, RemovesWhatADeadRunLeftAtNamesItAnnounced) {
    const test::ScratchDir dir;
    const QString out = Q(dir.path().string());
    ASSERT_TRUE(QDir().mkpath(RunFolderIn(out)));
    const RunOwner dead = DeadRun();
    const QByteArray held = "MIRELUNE-UNFINISHED\n" + dead.lines() + "k3x\n";
    const struct {
        const char* name;
        QByteArray content;
        const char* announcedBy;  // "dead", "live" or nothing
        uid_t owner;
        bool stays;
    } cases[] = {
        {"empty.mp3", "", "dead", 0, false},
        {"part of the mark.mp3", held.left(25), "dead", 0, false},
        {"the mark cut short.mp3", held.left(held.size() - 2), "dead", 0, false},
        {"a copy cut short.mp3", held + QByteArray(3000, 'x'), "dead", 0, false},
        {"a result.mp3", test::HandMadeMp3(3), "dead", 0, true},
        {"another run's mark.mp3",
         "MIRELUNE-UNFINISHED\nelsewhere\n1\nk3x\n" + QByteArray(600, 'x'), "dead", 0, true},
        {"another user's.mp3", "", "dead", 65534, true},
        {"a user's empty file.mp3", "", nullptr, 0, true},
        {"a live run's.mp3", "", "live", 0, true},
    };
    QByteArray deadMark = RunMarkText::header(dead);
    QByteArray liveMark = RunMarkText::header(OwnerOfThisProcess());
    QStringList staying;
    for (const auto& c : cases) {
        const QString path = out + '/' + c.name;
        test::WriteBytes(path, c.content);
        ASSERT_EQ(::lchown(QFile::encodeName(path).constData(), c.owner, c.owner), 0);
        const QByteArray line = RunMarkText::announcement(c.name);
        if (c.announcedBy != nullptr) {
            (QByteArray(c.announcedBy) == "dead" ? deadMark : liveMark) += line;
        }
        if (c.stays) {
            staying.append(c.name);
        }
    }
    test::WriteBytes(RunMarkPath(out, "deadrun0"), deadMark);
    test::WriteBytes(RunMarkPath(out, "liverun0"), liveMark);
    staying.sort();

    SweepResultFolder(out, TargetClock::Local());
    EXPECT_EQ(test::EntriesOf(out), staying);
    EXPECT_EQ(test::EntriesOf(RunFolderIn(out)), QStringList{"liverun0.run"});
}

TEST(LeftoverSweep, RemovesEncoderFoldersOfDeadRunsThatHoldOnlyOurFiles) {
    const test::ScratchDir dir;
    const QString base = Q(dir.path().string());
    const QByteArray dead = "MIRELUNE-RUN\n" + Owner(kHere, test::DeadPid());
    const struct {
        const char* folder;
        QStringList files;
        QByteArray mark;  // empty: none
        bool stays;
    } cases[] = {
        {"mirelune-dead00", {"lame"}, dead, false},
        {"mirelune-live00", {"lame"}, "MIRELUNE-RUN\n" + Owner(kHere, ::getpid()), true},
        {"mirelune-other0", {"lame", "notes.txt"}, dead, true},
        {"mirelune-nomark", {"lame"}, {}, true},
        {"mirelune-toolong", {"lame"}, dead, true},
    };
    QStringList staying;
    for (const auto& c : cases) {
        ASSERT_TRUE(QDir(base).mkdir(c.folder));
        for (const QString& file : c.files) {
            test::WriteBytes(base + '/' + c.folder + '/' + file, "x");
        }
        if (!c.mark.isEmpty()) {
            test::WriteBytes(base + '/' + c.folder + '/' + kEncoderFolderMark, c.mark);
        }
        if (c.stays) {
            staying.append(c.folder);
        }
    }
    staying.sort();
    SweepEncoderFolders({base, base + "/missing"}, kNow, "lame");
    EXPECT_EQ(test::EntriesOf(base), staying);
    EXPECT_EQ(test::EntriesOf(base + "/mirelune-other0"),
              QStringList({"lame", "notes.txt", kEncoderFolderMark}));
}

}  // namespace
}  // namespace mirelune

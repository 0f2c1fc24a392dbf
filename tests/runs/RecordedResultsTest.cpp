// SPDX-License-Identifier: GPL-3.0-or-later
// Records found in a folder shared with others: each counts only for a file
// it may describe, and reading them never follows a link, blocks or runs
// away with memory.
#include "runs/RecordedResults.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>

#include "support/ReduceTestSupport.h"

namespace mirelune {
namespace {

using test::Q;

constexpr uid_t kOther = 65534;  // nobody

// A journal line naming result (as the journal holds it) with the stamp the
// file at stampOf has.
QByteArray LineFor(const QByteArray& result, const QString& stampOf) {
    const std::optional<FileStamp> stamp = StampOf(stampOf);
    QByteArray line = RecordLine({"X", stamp.value_or(FileStamp{}), "/gone/song.mp3", {1, 0}});
    return line.replace("made\tX\t", "made\t" + result + "\t");
}

void Own(const QString& path, uid_t owner) {
    ASSERT_EQ(::lchown(QFile::encodeName(path).constData(), owner, owner), 0);
}

TEST(RecordedResults, ARecordCountsOnlyForAFileItMayDescribe) {
    const struct {
        const char* name;
        QByteArray result;  // as the journal line names it
        const char* file;   // the file whose stamp the line gives, below the scratch folder
        uid_t journalOwner;
        uid_t fileOwner;
        bool counted;
    } cases[] = {
        {"plain", "song.mp3", "out/song.mp3", 0, 0, true},
        {"in a sub-folder", "sub/song.mp3", "out/sub/song.mp3", 0, 0, true},
        {"root's journal, another's result", "song.mp3", "out/song.mp3", 0, kOther, true},
        {"another's journal, their own result", "song.mp3", "out/song.mp3", kOther, kOther, true},
        {"another's journal, root's file", "song.mp3", "out/song.mp3", kOther, 0, false},
        {"outside, by ..", "../secret", "secret", 0, 0, false},
        {"outside, by a .. inside", "sub/../../secret", "secret", 0, 0, false},
        {"absolute", "ABSOLUTE", "secret", 0, 0, false},
        {"a journal", ".mirelune/x.log", "out/.mirelune/x.log", 0, 0, false},
        {"a NUL in the name", QByteArray("song.mp3\0x", 10), "out/song.mp3", 0, 0, false},
        {"through a linked folder", "linked/song.mp3", "out/sub/song.mp3", 0, 0, false},
        {"a link to a file", "link.mp3", "out/song.mp3", 0, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const test::ScratchDir dir;
        const QString out = Q(dir.file("out"));
        ASSERT_TRUE(QDir().mkpath(out + "/sub"));
        ASSERT_TRUE(QDir().mkpath(out + "/.mirelune"));
        for (const char* name :
             {"out/song.mp3", "out/sub/song.mp3", "secret", "out/.mirelune/x.log"}) {
            test::WriteBytes(Q(dir.file(name)), "a result");
        }
        ASSERT_TRUE(QFile::link(out + "/sub", out + "/linked"));
        ASSERT_TRUE(QFile::link(out + "/song.mp3", out + "/link.mp3"));
        const QString journal = out + "/.mirelune/j.log";
        test::WriteBytes(journal, "");
        const QString file = Q(dir.file(c.file));
        Own(file, c.fileOwner);
        const QByteArray result =
            c.result == "ABSOLUTE" ? QFile::encodeName(Q(dir.file("secret"))) : c.result;
        test::WriteBytes(journal, LineFor(result, file));
        Own(journal, c.journalOwner);
        EXPECT_EQ(RecordedResults().read(out).size(), c.counted ? 1U : 0U);
    }
}

// Only regular files in a real record folder are read, and none whole when
// it is over the limit; lines over their limit are passed over, with one
// warning each.
TEST(RecordedResults, JournalsAreReadWithinBoundsAndNeverThroughALink) {
    const test::ScratchDir dir;
    const QString out = Q(dir.file("out"));
    const QString elsewhere = Q(dir.file("elsewhere"));
    ASSERT_TRUE(QDir().mkpath(out + "/.mirelune"));
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    test::WriteBytes(out + "/song.mp3", "a result");
    test::WriteBytes(out + "/other.mp3", "another result");
    const QByteArray song = LineFor("song.mp3", out + "/song.mp3");
    const QByteArray other = LineFor("other.mp3", out + "/other.mp3");
    test::WriteBytes(out + "/.mirelune/a.log", "made\t" + QByteArray(70 * 1024, 'x') + "\n" + song);
    ASSERT_EQ(::mkfifo(QFile::encodeName(out + "/.mirelune/fifo.log").constData(), 0644), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", out + "/.mirelune/zero.log"));
    test::WriteBytes(elsewhere + "/linked.log", other);
    ASSERT_TRUE(QFile::link(elsewhere + "/linked.log", out + "/.mirelune/linked.log"));
    QFile huge(out + "/.mirelune/huge.log");
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    huge.write(other);
    ASSERT_TRUE(huge.resize(1LL << 30));  // sparse: a gigabyte that costs nothing
    huge.close();

    RecordedResults records;
    const std::vector<RecordedResults::Held> held = records.read(out);
    ASSERT_EQ(held.size(), 1U);
    EXPECT_EQ(held[0].record.result, QStringLiteral("song.mp3"));
    EXPECT_EQ(
        records.warnings(),
        std::vector<QString>({"the record of results " + out +
                                  "/.mirelune/a.log has lines over 64 KiB, which were passed over",
                              "the record of results " + out +
                                  "/.mirelune/huge.log is over 64 MiB and was passed over"}));

    // A record folder that is a link is not read at all.
    const QString shared = Q(dir.file("shared"));
    ASSERT_TRUE(QDir().mkpath(shared));
    test::WriteBytes(shared + "/song.mp3", "a result");
    ASSERT_TRUE(QFile::link(out + "/.mirelune", shared + "/.mirelune"));
    test::WriteBytes(out + "/.mirelune/b.log", LineFor("song.mp3", shared + "/song.mp3"));
    EXPECT_TRUE(RecordedResults().read(shared).empty());
}

// A record written just before its result was placed, with no line saying
// it was placed (the run was killed in between), counts only for a file of
// its size and content, whatever time that file came to have.
TEST(RecordedResults, ARecordMadeBeforePlacingCountsOnlyForItsContent) {
    const QByteArray ours = "8ef99d17b420fd37a306ac016be950cab3836d24f801fb29c09b29d6538e9146";
    const QByteArray theirs = "662079788f49b281b4040594f5b6e9dbb10fc47046862849bb6aaf7a5da98530";
    constexpr qint64 kFileTime = 1733650000000;       // the file's time
    constexpr qint64 kMadeTime = kFileTime - 600000;  // the time it was to have
    const auto made = [](qint64 size, const QByteArray& hash) {
        return RecordLine({"song.mp3", {size, kMadeTime}, "/gone/song.mp3", {1, 0}, hash});
    };
    const QByteArray placed = RecordLine({"song.mp3", {8, kFileTime}, "/gone/song.mp3", {1, 0}});
    const struct {
        const char* name;
        QByteArray journal;
        bool counted;
    } cases[] = {
        {"its content, another time", made(8, ours), true},
        {"other content of its size", made(8, theirs), false},
        {"its content, another size recorded", made(9, ours), false},
        {"placed after: the placed line speaks", made(8, theirs) + placed, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const test::ScratchDir dir;
        const QString out = Q(dir.file("out"));
        ASSERT_TRUE(QDir().mkpath(out + "/.mirelune"));
        test::WriteBytes(out + "/song.mp3", "a result");
        ASSERT_TRUE(SetModifiedTime(out + "/song.mp3", kFileTime));
        test::WriteBytes(out + "/.mirelune/j.log", c.journal);
        const std::vector<RecordedResults::Held> held = RecordedResults().read(out);
        ASSERT_EQ(held.size(), c.counted ? 1U : 0U);
        if (c.counted) {
            EXPECT_EQ(held[0].record.resultStamp.modifiedMs, kFileTime);
            EXPECT_EQ(held[0].record.resultStamp.size, 8);
        }
    }
}

}  // namespace
}  // namespace mirelune

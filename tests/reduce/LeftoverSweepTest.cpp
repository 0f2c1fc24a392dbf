// SPDX-License-Identifier: GPL-3.0-or-later
// What killed runs left: known by name and mark, removed by the next run, and
// never while its run may still be going.
#include "reduce/LeftoverSweep.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSysInfo>

#include "reduce/RunMark.h"
#include "reduce/TemporaryResultName.h"
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

TEST(TemporaryResultName, TheTwoFormsAndTheEncodersTemplate) {
    const struct {
        std::string name;
        std::string runTag;  // "-": no temporary name
        std::string encoderTemplate;
    } cases[] = {
        {".mirelune-a1B2c3.part", "", ".mirelune-XXXXXX.part"},
        {".mirelune-run0tag9-a1b2c3.part", "run0tag9", ".mirelune-run0tag9-XXXXXX.part"},
        {"song.mp3", "-", ".mirelune-XXXXXX.part"},
        {".mirelune-a1b2c.part", "-", ".mirelune-XXXXXX.part"},
        {".mirelune-run0tag9_a1b2c3.part", "-", ".mirelune-XXXXXX.part"},
        {".mirelune-run.tag9-a1b2c3.part", "-", ".mirelune-XXXXXX.part"},
        {".mirelune-a1b2c3.mp3", "-", ".mirelune-XXXXXX.part"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(temporary_result::IsTemporaryName(c.name), c.runTag != "-");
        EXPECT_EQ(temporary_result::RunTagOf(c.name), c.runTag == "-" ? "" : c.runTag);
        EXPECT_EQ(temporary_result::TemplateFor(c.name), c.encoderTemplate);
    }
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

    SweepResultFolder(out, kNow);
    EXPECT_EQ(test::EntriesOf(out), staying);
    EXPECT_EQ(test::EntriesOf(runs),
              QStringList({"cutshort.run", "farnow00.run", "host-1-abc.log", "livehere.run"}));
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
    SweepEncoderFolders({base, base + "/missing"}, kNow);
    EXPECT_EQ(test::EntriesOf(base), staying);
    EXPECT_EQ(test::EntriesOf(base + "/mirelune-other0"),
              QStringList({"lame", "notes.txt", kEncoderFolderMark}));
}

}  // namespace
}  // namespace mirelune

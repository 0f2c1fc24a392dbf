// SPDX-License-Identifier: GPL-3.0-or-later
// Predicted sizes in a dry run, and --fit choosing the bitrate, against what
// real runs make.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QLocale>
#include <QStorageInfo>
#include <cstdlib>

#include <sys/statvfs.h>

#include "CliProcess.h"
#include "cli/FitBitrate.h"
#include "support/FuseMount.h"
#include "support/ReduceTestSupport.h"

namespace mirelune {
namespace {

using test::CliRun;
using test::Q;

class FitCommandTest : public test::ReduceCliTest {
  protected:
    void SetUp() override {
        ReduceCliTest::SetUp();
        ASSERT_TRUE(QDir().mkpath(Q(dir.file("music"))));
    }

    QString Mp3(const std::string& name, double seconds, const std::string& args = "-b 192",
                int frequency = 440) {
        return test::MakeMp3(dir, "music/" + name, seconds, args, frequency);
    }
};

qint64 FreeBytes(const QString& folder) {
    struct statvfs fs {};
    return ::statvfs(QFile::encodeName(folder).constData(), &fs) == 0
               ? static_cast<qint64>(fs.f_bavail * fs.f_frsize)
               : -1;
}

QString Size(qint64 bytes) {
    return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeIecFormat);
}

// What a dry run predicts is what the run makes: to the byte where it says
// so, and shown as an estimate where it does not.
TEST_F(FitCommandTest, DryRunPredictsTheSizesTheRunMakes) {
    const QString withHeader = Mp3("a.mp3", 2.0);
    const QString withoutHeader = Mp3("b.mp3", 2.0, "-b 192 -t", 660);
    const QString music = Q(dir.file("music"));
    const CliRun json = Run({"--dry-run", "--json", "-o", out, music});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QList<QJsonObject> plan = test::JsonLines(json.out);
    ASSERT_EQ(plan.size(), 3) << json.out.toStdString();
    const CliRun text = Run({"--dry-run", "-o", out, music});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();

    const CliRun run = Run({"-o", out, music});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const qint64 a = QFileInfo(out + "/a.mp3").size();
    const qint64 b = QFileInfo(out + "/b.mp3").size();
    EXPECT_EQ(plan[0]["predicted_bytes"].toInteger(), a);
    EXPECT_EQ(plan[0]["predicted_exact"], true);
    // Without a frame count the estimate is off by less than an output frame.
    EXPECT_NEAR(plan[1]["predicted_bytes"].toInteger(), b, 418);
    EXPECT_EQ(plan[1]["predicted_exact"], false);
    const QJsonObject summary = plan[2]["summary"].toObject();
    EXPECT_EQ(summary["predicted_bytes"].toInteger(),
              plan[0]["predicted_bytes"].toInteger() + plan[1]["predicted_bytes"].toInteger());
    EXPECT_EQ(summary["predicted_exact"], false);
    const QJsonArray free = summary["free_space"].toArray();
    ASSERT_EQ(free.size(), 1);
    EXPECT_EQ(free[0]["folder"], out);
    EXPECT_GT(free[0]["free_bytes"].toInteger(), 0);

    const QStringList lines = text.out.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 7) << text.out.toStdString();
    EXPECT_EQ(lines[0], withHeader + " → " + out + "/a.mp3 (" + Size(a) + ")");
    EXPECT_EQ(lines[2], withoutHeader + " → " + out + "/b.mp3 (≈" +
                            Size(plan[1]["predicted_bytes"].toInteger()) + ")");
    EXPECT_TRUE(lines[4].startsWith("free: " + out + ": ")) << lines[4].toStdString();
    EXPECT_EQ(lines[5], "would reduce 2, skip 0, fail 0; " +
                            Size(QFileInfo(withHeader).size() + QFileInfo(withoutHeader).size()) +
                            " → ≈" + Size(summary["predicted_bytes"].toInteger()));
}

// Where nothing fits the run stops before anything is made, with its own
// exit status and the smallest total against the room there is.
TEST_F(FitCommandTest, NothingFittingEndsWithItsOwnStatus) {
    Mp3("a.mp3", 1.0);
    for (const bool dryRun : {true, false}) {
        SCOPED_TRACE(dryRun);
        QStringList args{"--fit", "10K", "-o", out, Q(dir.file("music"))};
        if (dryRun) {
            args.prepend("--dry-run");
        }
        const CliRun run = Run(args);
        EXPECT_EQ(run.exitCode, 3);
        EXPECT_EQ(run.out, QString());
        // What the result needs depends on the file system the test runs on.
        EXPECT_TRUE(
            run.err.startsWith("mirelune-cli reduce: nothing fits: at 32 kbps the results need "))
            << run.err.toStdString();
        EXPECT_TRUE(run.err.endsWith(" KiB, and there is 10.00 KiB\n")) << run.err.toStdString();
        EXPECT_TRUE(test::EntriesOf(out).isEmpty());
    }
}

// Shards choose over the whole job, so each picks the bitrate one run would.
TEST_F(FitCommandTest, EveryShardChoosesTheWholeJobsBitrate) {
    for (int i = 0; i < 6; ++i) {
        Mp3("s" + std::to_string(i) + ".mp3", 1.0 + 0.25 * i, "-b 192", 300 + 50 * i);
    }
    QStringList lines;
    for (const char* shard : {"", "1/3", "2/3", "3/3"}) {
        QStringList args{"--dry-run", "--fit", "150K", "-o", out, Q(dir.file("music"))};
        if (*shard != '\0') {
            args << "--shard" << shard;
        }
        const CliRun run = Run(args);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        lines.append(run.out.section(QLatin1Char('\n'), 0, 0));
    }
    EXPECT_TRUE(lines[0].startsWith("fit: ")) << lines[0].toStdString();
    EXPECT_EQ(lines, QStringList(4, lines[0]));
}

// A target that tells no free space cannot be filled up to it.
TEST(FitBitrate, FreeSpaceIsRefusedWhereTheTargetTellsNone) {
    cli::Plan plan;
    plan.reductions.push_back({"/music/song.mp3", "/stick/song.mp3", 1000});
    plan.reductions.back().recordRoot = "/stick";
    const auto silent = [](const QString&) {
        return std::optional<cli::FileSystemAnswer>({7, {std::nullopt, 2048, true}});
    };
    const cli::FitOutcome free = cli::FitBitrate(plan, {true, 0}, 1, {32, 64}, silent);
    EXPECT_EQ(free.refusal, QStringLiteral("--fit free: the file system of /stick tells no free "
                                           "space; give the size the results may take (--fit "
                                           "900M)"));
    EXPECT_FALSE(free.kbps);
    const cli::FitOutcome size = cli::FitBitrate(plan, {false, 1 << 20}, 1, {32, 64}, silent);
    EXPECT_EQ(size.refusal, QString());
    EXPECT_EQ(size.kbps, 64);
}

// Room to spare never chooses a bitrate above every source's: that would
// only make each result larger. Below every bitrate, the lowest is taken.
TEST(FitBitrate, ChoosesNoBitrateAboveTheSources) {
    const auto roomy = [](const QString&) {
        return std::optional<cli::FileSystemAnswer>({7, {std::uint64_t{1} << 40, 4096, false}});
    };
    const struct {
        std::vector<std::optional<qint32>> sources;
        int kbps;
        QString ending;
    } cases[] = {
        {{96000, 128000, 64000}, 128, "; no source goes above 128 kbps"},
        {{150000}, 128, "; no source goes above 150 kbps"},
        {{24000}, 32, "; no source goes above 24 kbps"},
        {{320000}, 320, "; the highest bitrate"},
        {{std::nullopt}, 320, "; the highest bitrate"},
    };
    for (const auto& c : cases) {
        cli::Plan plan;
        for (const std::optional<qint32>& bitrate : c.sources) {
            plan.reductions.push_back({.source = "/music/song.mp3",
                                       .output = "/stick/song.mp3",
                                       .sourceBytes = 1000,
                                       .recordRoot = "/stick",
                                       .sourceBitrate = bitrate});
        }
        const cli::FitOutcome fit =
            cli::FitBitrate(plan, {true, 0}, 1, {32, 64, 96, 128, 192, 320}, roomy);
        EXPECT_EQ(fit.kbps, c.kbps);
        EXPECT_TRUE(fit.text.endsWith(c.ending)) << fit.text.toStdString();
    }
}

// On a stick with 216 KiB left, 96 kbps results do not all go in; --fit
// chooses 80 kbps, and every result then does.
TEST_F(FitCommandTest, OnAStickTheChosenBitrateFitsAndTheNextDoesNot) {
    for (int i = 1; i <= 4; ++i) {
        Mp3("s" + std::to_string(i) + ".mp3", 3.0, "-b 192", 300 + 100 * i);
    }
    Mp3("notag.mp3", 2.0, "-b 192 -t", 500);
    const QString music = Q(dir.file("music"));
    const struct {
        const char* kind;
        bool free;  // --fit free, else the free space given as a size
        const char* line;
    } cases[] = {
        {"exfat", false, "fit: 80 kbps: 196.00 KiB of 216.00 KiB; 96 kbps would need 240.00 KiB\n"},
        {"vfat", true,
         "fit: 80 kbps: 190.00 KiB of 216.00 KiB free; 96 kbps would need 226.00 KiB\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        const QString stick = Q(dir.file(std::string("stick-") + c.kind));
        const test::FuseMount mount(QString::fromUtf8(c.kind), stick + ".img", stick);
        if (!mount.mounted()) {
            GTEST_SKIP() << mount.why();
        }
        QFile filler(stick + "/filler");
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        ASSERT_TRUE(filler.write(QByteArray(FreeBytes(stick) - 216 * 1024, '\0')) > 0);
        filler.close();
        const qint64 room = FreeBytes(stick);
        ASSERT_EQ(room, 216 * 1024);

        const CliRun higher = Run({"-j", "1", "-b", "96", "-o", stick, music});
        EXPECT_EQ(higher.exitCode, 1) << higher.out.toStdString();
        EXPECT_TRUE(higher.err.contains("failed: ")) << higher.err.toStdString();
        for (const QString& name : QDir(stick).entryList({"*.mp3"}, QDir::Files)) {
            ASSERT_TRUE(QFile::remove(stick + "/" + name));
        }
        ASSERT_TRUE(QDir(stick + "/.mirelune").removeRecursively());
        ASSERT_EQ(FreeBytes(stick), room);

        const CliRun fit =
            Run({"-j", "1", "--fit", c.free ? "free" : QString::number(room), "-o", stick, music});
        EXPECT_EQ(fit.exitCode, 0) << fit.err.toStdString();
        EXPECT_EQ(fit.err, QString());
        EXPECT_TRUE(fit.out.startsWith(QString::fromUtf8(c.line))) << fit.out.toStdString();
        EXPECT_TRUE(fit.out.contains("reduced 5, skipped 0, failed 0;")) << fit.out.toStdString();
    }
}

// With every result already there no bitrate makes anything, and no file
// system need be asked.
TEST(FitBitrate, NothingToReduceNeedsNoRoom) {
    const auto unasked = [](const QString&) -> std::optional<cli::FileSystemAnswer> {
        ADD_FAILURE() << "a file system was asked";
        return std::nullopt;
    };
    const cli::FitOutcome fit = cli::FitBitrate(cli::Plan(), {true, 0}, 1, {32, 64}, unasked);
    EXPECT_EQ(fit.refusal, QString());
    EXPECT_EQ(fit.kbps, 64);
    EXPECT_EQ(fit.text, QStringLiteral("nothing to reduce"));
}

// Rows are counted on the file system of their folder, each file system
// once however many folders it holds, and a replaced file's size comes back
// only for a row that replaces it.
TEST(OutputRoom, GroupsFoldersByFileSystemAndCountsReplacedFiles) {
    test::ScratchDir dir;
    const QString there = Q(dir.file("there.mp3"));
    test::WriteBytes(there, QByteArray(5000, 'x'));
    std::vector<cli::PlannedReduction> reductions = {
        {"/music/song.mp3", "/stick/song.mp3", 1}, {"/music/b.mp3", "/stick/sub/b.mp3", 1},
        {"/music/c.mp3", "/card/c.mp3", 1},        {"/music/d.mp3", there, 1, true},
        {"/music/e.mp3", there, 1, false},
    };
    for (cli::PlannedReduction& r : reductions) {
        r.recordRoot = r.output.startsWith("/card") ? "/card" : "/stick";
    }
    const auto query = [](const QString& folder) {
        const bool card = folder.startsWith("/card");
        return std::optional<cli::FileSystemAnswer>(
            {card ? 9ULL : 7ULL, {card ? 1000 : 2000, card ? 32768ULL : 4096ULL, card}});
    };
    const cli::OutputRoom room(reductions, query);
    EXPECT_EQ(room.shownFolders(), (std::vector<QString>{"/stick", "/card"}));
    ASSERT_EQ(room.fileSystems().size(), 2U);
    EXPECT_EQ(room.fileSystems()[1].unit, 32768U);
    const std::vector<cli::FitRow> rows = room.rowsAt(reductions, 128);
    ASSERT_EQ(rows.size(), 5U);
    const std::size_t fileSystems[] = {0, 0, 1, 0, 0};
    const std::size_t folders[] = {0, 1, 2, 3, 3};
    const std::size_t roots[] = {0, 0, 1, 0, 0};
    const std::uint64_t replaced[] = {0, 0, 0, 5000, 0};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].fileSystem, fileSystems[i]);
        EXPECT_EQ(rows[i].folder, folders[i]);
        EXPECT_EQ(rows[i].recordRoot, roots[i]);
        EXPECT_EQ(rows[i].replaced, replaced[i]);
        EXPECT_EQ(rows[i].bytes, 0U);  // no facts read: nothing known
    }
    // Two lines of at most twice the paths' 30 bytes and 200 more.
    EXPECT_EQ(rows[0].recordBytes, 520U);
}

}  // namespace
}  // namespace mirelune

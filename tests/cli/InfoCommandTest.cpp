// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

#include "CliProcess.h"
#include "cli/FileReport.h"
#include "support/Mp3Bytes.h"
#include "support/ScratchDir.h"

namespace mirelune::cli {
namespace {

using test::Bytes;

using test::CliRun;
using test::JsonLines;
using test::RunCli;

class InfoCommandTest : public ::testing::Test {
  protected:
    QString Write(const std::string& name, const Bytes& bytes) {
        return QString::fromStdString(dir.Write(name, bytes));
    }

    QString VbrFile() {
        Bytes bytes = test::Frames(test::kMpeg1L3At128, 417, 4);
        test::PutXing(bytes, 36, "Xing", 3, 1000, 3000000);
        return Write("vbr.mp3", bytes);
    }

    test::ScratchDir dir;
};

TEST_F(InfoCommandTest, JsonDescribesAValidFileWithExactlyTheKnownKeys) {
    const QString path = VbrFile();
    const CliRun run = RunCli({QStringLiteral("info"), QStringLiteral("--json"), path});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QList<QJsonObject> lines = JsonLines(run.out);
    ASSERT_EQ(lines.size(), 1);
    const QJsonObject o = lines[0];
    QStringList keys = o.keys();
    keys.sort();
    QStringList expected = {"path",     "valid",       "error",        "first_frame", "duration_ms",
                            "channels", "sample_rate", "bitrate",      "file_size",   "mpeg_bytes",
                            "frames",   "layer",       "mpeg_version", "copyright",   "original",
                            "private",  "protected",   "emphasis",     "is_vbr"};
    expected.sort();
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(o["path"].toString(), path);
    EXPECT_TRUE(o["valid"].toBool());
    EXPECT_TRUE(o["error"].isNull());
    EXPECT_EQ(o["first_frame"].toInt(), 0);
    EXPECT_NEAR(o["duration_ms"].toDouble(), 26122.449, 0.001);
    EXPECT_EQ(o["channels"].toInt(), 2);
    EXPECT_EQ(o["sample_rate"].toInt(), 44100);
    EXPECT_EQ(o["bitrate"].toInt(), 918750);
    EXPECT_EQ(o["file_size"].toInt(), 4 * 417);
    EXPECT_EQ(o["mpeg_bytes"].toInt(), 3000000);
    EXPECT_EQ(o["frames"].toInt(), 1000);
    EXPECT_EQ(o["layer"].toInt(), 3);
    EXPECT_EQ(o["mpeg_version"].toDouble(), 1.0);
    EXPECT_FALSE(o["copyright"].toBool());
    EXPECT_TRUE(o["original"].toBool());
    EXPECT_FALSE(o["private"].toBool());
    EXPECT_FALSE(o["protected"].toBool());
    EXPECT_FALSE(o["emphasis"].toBool());
    EXPECT_TRUE(o["is_vbr"].toBool());
}

TEST_F(InfoCommandTest, JsonKeepsArgumentOrderAndReportsEachOutcome) {
    Bytes zeroFrames = test::Frames(test::kMpeg1L3At128, 417, 3);
    test::PutXing(zeroFrames, 36, "Xing", 1, 0, 0);
    const QString broken = Write("broken.mp3", zeroFrames);
    const QString text = Write("notes.txt", Bytes(500, 'x'));
    const QString valid = VbrFile();
    const QString missing = dir.file("missing.mp3").c_str();
    const QString folder = QString::fromStdString(dir.path().string());

    const CliRun run = RunCli({"info", "--json", broken, text, valid, missing, folder});
    EXPECT_EQ(run.exitCode, 1);
    const QList<QJsonObject> lines = JsonLines(run.out);
    ASSERT_EQ(lines.size(), 5);

    struct Expected {
        QString path;
        bool valid;
        QJsonValue error;
    };
    const Expected expected[] = {{broken, false, QJsonValue("division by zero")},
                                 {text, false, QJsonValue(QJsonValue::Null)},
                                 {valid, true, QJsonValue(QJsonValue::Null)},
                                 {missing, false, QJsonValue(QJsonValue::Null)},
                                 {folder, false, QJsonValue(QJsonValue::Null)}};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(expected[i].path.toStdString());
        EXPECT_EQ(lines[i]["path"].toString(), expected[i].path);
        EXPECT_EQ(lines[i]["valid"].toBool(), expected[i].valid);
        EXPECT_EQ(lines[i]["error"], expected[i].error);
        if (!expected[i].valid) {
            EXPECT_EQ(lines[i].size(), 3) << "only path, valid and error for a refused file";
        }
    }
}

TEST_F(InfoCommandTest, TextLinesSayWhatEachPathIs) {
    Bytes cbr = test::Frames(test::kMpeg1L3At128, 417, 2);
    cbr.resize(4000000, 0);
    const QString song = Write("song.mp3", cbr);
    const QString text = Write("notes.txt", Bytes(10, 'x'));
    const QString missing = dir.file("gone.mp3").c_str();
    const QString folder = QString::fromStdString(dir.path().string());

    const CliRun run = RunCli({"info", song, text, missing, folder});
    EXPECT_EQ(run.exitCode, 1);
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], song + ": 128 kbps, MPEG 1 Layer III, 44100 Hz, stereo, 4:10, CBR");
    EXPECT_TRUE(lines[1].startsWith(text + ": not a valid MP3 file")) << lines[1].toStdString();
    EXPECT_EQ(lines[2], missing + ": no such file");
    EXPECT_EQ(lines[3], folder + ": is a folder, not a file");
}

TEST_F(InfoCommandTest, AllValidExitsZero) {
    const CliRun run = RunCli({"info", VbrFile()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains(": 919 kbps, MPEG 1 Layer III")) << run.out.toStdString();
}

TEST_F(InfoCommandTest, UsageErrorsExitTwo) {
    const QStringList cases[] = {{}, {"info"}, {"info", "--bogus", "x.mp3"}, {"shrink", "x.mp3"}};
    for (const QStringList& args : cases) {
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty()) << args.join(' ').toStdString();
    }
}

TEST_F(InfoCommandTest, ReadsFilesWhoseNamesAreNotValidUtf8) {
    Bytes bytes = test::Frames(test::kMpeg1L3At128, 417, 3);
    const std::string name = "caf\xe9.mp3";  // Latin-1 bytes
    dir.Write(name, bytes);
    dir.Write("b\xe9.txt", Bytes(10, 'x'));
    // Handed over as raw bytes, the way a shell passes them.
    QProcess process;
    process.setProgram(QStringLiteral("/bin/sh"));
    process.setArguments(
        {"-c", QStringLiteral("exec \"$0\" info caf$(printf '\\351').mp3 b$(printf '\\351').txt"),
         QStringLiteral(MIRELUNE_CLI)});
    process.setWorkingDirectory(QString::fromStdString(dir.path().string()));
    process.start();
    process.waitForFinished(30000);
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_EQ(process.readAllStandardOutput(),
              "\"caf\\xE9.mp3\": 128 kbps, MPEG 1 Layer III, 44100 Hz, stereo, 0:00, CBR\n"
              "\"b\\xE9.txt\": not a valid MP3 file (no MPEG audio frames found)\n");
}

TEST_F(InfoCommandTest, JsonEscapesAwkwardPaths) {
    const QString path = Write("say \"hi\"\\\tnow.mp3", test::Frames(test::kMpeg1L3At128, 417, 3));
    const CliRun run = RunCli({"info", "--json", path});
    EXPECT_EQ(run.exitCode, 0);
    const QList<QJsonObject> lines = JsonLines(run.out);
    ASSERT_EQ(lines.size(), 1) << run.out.toStdString();
    EXPECT_EQ(lines[0]["path"].toString(), path);
    EXPECT_EQ(lines[0]["mpeg_version"].toDouble(), 1.0);
    EXPECT_TRUE(run.out.contains("\"mpeg_version\":1.0,")) << run.out.toStdString();
}

TEST(DurationText, MinutesAndWholeSeconds) {
    EXPECT_EQ(DurationText(250566.5), "4:10");
    EXPECT_EQ(DurationText(59999.0), "0:59");
    EXPECT_EQ(DurationText(0.0), "0:00");
    EXPECT_EQ(DurationText(3600000.0), "60:00");
    EXPECT_EQ(DurationText(-5.0), "?:??");
}

}  // namespace
}  // namespace mirelune::cli

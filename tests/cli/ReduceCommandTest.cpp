// SPDX-License-Identifier: GPL-3.0-or-later
// mirelune-cli reduce, run as a program on files LAME made for the test.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <csignal>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include <signal.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include "CliProcess.h"
#include "mp3/MP3Info.h"
#include "runs/RecordedResults.h"
#include "shell/FileIdentity.h"
#include "support/FuseMount.h"
#include "support/ReduceTestSupport.h"

namespace mirelune {
namespace {

using test::Q;

using test::CliRun;

class ReduceCommandTest : public test::ReduceCliTest {
  protected:
    // A real MP3 file at relative path name; frequency tells files apart.
    QString Mp3(const std::string& name, int frequency = 440, const std::string& args = "-b 192",
                double seconds = 1.0) {
        const QString path = Q(dir.file(name));
        QDir().mkpath(QFileInfo(path).absolutePath());
        return test::MakeMp3(dir, name, seconds, args, frequency);
    }

    static qint32 BitrateOf(const QString& path) {
        mp3::MP3Info info;
        return info.ReadMP3Info(QFile::encodeName(path).toStdString()) ? info.Bitrate() : 0;
    }
};

TEST_F(ReduceCommandTest, UsageErrorsExitWithTwoAndTouchNothing) {
    const QString song = Mp3("song.mp3");
    const QStringList cases[] = {
        {},
        {"-o", out},
        {song},
        {"-o", out, "--beside", song},
        {"-b", "100", "-o", out, song},
        {"-b", "128kbps", "-o", out, song},
        {"-j", "0", "-o", out, song},
        {"-j", "many", "-o", out, song},
        {"--keep-tree", "--beside", song},
        {"-o", Q(dir.file("missing")), song},
        {"--frobnicate", "-o", out, song},
        {"--shard", "0/4", "-o", out, song},
        {"--shard", "5/4", "-o", out, song},
        {"--shard", "1/4/2", "-o", out, song},
        {"--shard", "one", "-o", out, song},
        {"--null", "-o", out, song},
        {"--from", Q(dir.file("no-list")), "-o", out},
        {"--fit", "16G", "-b", "64", "-o", out, song},
        {"--fit", "16G", "--skip-lower", "-o", out, song},
        {"--fit", "lots", "-o", out, song},
        {"--fit", "free", "--shard", "1/2", "-o", out, song},
    };
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        const CliRun run = Run(args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains(QStringLiteral("--help"))) << run.err.toStdString();
    }
    EXPECT_TRUE(test::EntriesOf(out).isEmpty());
    EXPECT_TRUE(test::EntriesOf(temp).isEmpty());
}

// The printed command is pasted into a shell as a user would, with printf
// standing in for the encoder: the shell must hand over the very words the
// run would, expanding nothing.
TEST_F(ReduceCommandTest, DryRunPrintsEachPlanAndRunsNothing) {
    const QString song = Mp3("music/$(touch x) $HOME.mp3");
    test::WriteBytes(Q(dir.file("music/cover.jpg")), "not audio");
    const CliRun run = Run({"--dry-run", "-b", "96", "-o", out, Q(dir.file("music"))});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QString output = out + QStringLiteral("/$(touch x) $HOME.mp3");
    const QStringList lines = run.out.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 5) << run.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith(song + QStringLiteral(" → ") + output + QStringLiteral(" (≈")))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("free: ") + out + QStringLiteral(": ")));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("would reduce 1, skip 1, fail 0; ")));
    EXPECT_EQ(run.err, QStringLiteral("skipped: ") + Q(dir.file("music/cover.jpg")) +
                           QStringLiteral(": not a valid MP3 file\n"));

    QProcess shell;
    shell.setWorkingDirectory(temp);
    shell.start(QStringLiteral("sh"),
                {QStringLiteral("-c"), QStringLiteral("set -- ") + lines[1].trimmed() +
                                           QStringLiteral("; printf '%s\\n' \"$@\"")});
    ASSERT_TRUE(shell.waitForFinished());
    EXPECT_EQ(
        QString::fromUtf8(shell.readAllStandardOutput()),
        QStringList({temp + "/mirelune-XXXXXX/lame", "-h", "-m", "s", "-b", "96", song, output, ""})
            .join(QLatin1Char('\n')));
    EXPECT_TRUE(test::EntriesOf(out).isEmpty());
    EXPECT_TRUE(test::EntriesOf(temp).isEmpty()) << "the shell ran nothing";
}

// A dry run writes nothing, so no folder it plans for changes, not even in
// time: it neither tries names nor makes a file to see whether it could.
TEST_F(ReduceCommandTest, DryRunLeavesEveryPlannedFolderAsItWas) {
    const QString music = Q(dir.file("music"));
    Mp3("music/a.mp3");
    Mp3("music/sub/b.mp3", 660);
    Mp3("music/new/c.mp3", 880);
    ASSERT_TRUE(QDir().mkpath(out + "/sub"));
    // A stick's names would be learnt by trying, and that is no dry run's to do.
    const QString stick = Q(dir.file("stick"));
    const test::FuseMount mount(QStringLiteral("vfat"), stick + ".img", stick);
    QStringList folders{out, out + "/sub", music, music + "/sub", music + "/new"};
    if (mount.mounted()) {
        folders.append(stick);
    }
    const auto modified = [&] {
        std::vector<std::pair<qint64, long>> times;
        for (const QString& folder : folders) {
            struct stat status {};
            EXPECT_EQ(::stat(QFile::encodeName(folder).constData(), &status), 0);
            times.emplace_back(status.st_mtim.tv_sec, status.st_mtim.tv_nsec);
        }
        return times;
    };
    const QStringList cases[] = {
        {"--dry-run", "--keep-tree", "-o", out, music},
        {"--dry-run", "--beside", music},
        {"--dry-run", "-o", stick, music},
    };
    // fusefat keeps no folder time that a probe would change: what is made
    // and removed shows only to a watch.
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    for (const QString& folder : folders) {
        ASSERT_GE(::inotify_add_watch(watch, QFile::encodeName(folder).constData(),
                                      IN_CREATE | IN_DELETE | IN_MOVED_TO | IN_MOVED_FROM),
                  0);
    }
    for (const QStringList& args : cases) {
        if (args.contains(stick) && !mount.mounted()) {
            continue;
        }
        SCOPED_TRACE(args.join(' ').toStdString());
        const auto before = modified();
        const CliRun run = Run(args);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains("\nwould reduce 3, skip 0, fail 0; "))
            << run.out.toStdString();
        EXPECT_EQ(modified(), before);
        char events[4096];
        EXPECT_LE(::read(watch, events, sizeof events), 0);
    }
    ::close(watch);
    EXPECT_EQ(test::EntriesOf(out), QStringList{"sub"});
    if (!mount.mounted()) {
        GTEST_SKIP() << mount.why();
    }
}

// What a run would do, for a script to check first: the statuses it would
// give, and the output path.
TEST_F(ReduceCommandTest, DryRunJsonGivesEachRowsStatusAndOutput) {
    const QString song = Mp3("music/song.mp3");
    const QString taken = Mp3("music/taken.mp3", 660);
    const QString cover = Q(dir.file("music/cover.jpg"));
    test::WriteBytes(cover, "not audio");
    test::WriteBytes(out + "/taken.mp3", "the user's own file");
    const CliRun run = Run({"--dry-run", "--json", "-o", out, Q(dir.file("music"))});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const qint64 size = QFileInfo(song).size();
    const qint64 takenSize = QFileInfo(taken).size();
    QList<QJsonObject> lines = test::JsonLines(run.out);
    ASSERT_EQ(lines.size(), 4) << run.out.toStdString();
    // The sizes to come are FitCommandTest's; a skipped row predicts none.
    QJsonObject summary = lines[3]["summary"].toObject();
    for (const char* key : {"predicted_bytes", "predicted_exact", "free_space"}) {
        lines[0].remove(QLatin1String(key));
        summary.remove(QLatin1String(key));
    }
    lines[3]["summary"] = summary;
    EXPECT_EQ(lines, (QList<QJsonObject>{{{"source", song},
                                          {"output", out + "/song.mp3"},
                                          {"status", "would reduce"},
                                          {"reason", QJsonValue::Null},
                                          {"bytes_before", size}},
                                         {{"source", cover},
                                          {"output", QJsonValue::Null},
                                          {"status", "skipped"},
                                          {"reason", "not a valid MP3 file"},
                                          {"bytes_before", 9},
                                          {"predicted_bytes", QJsonValue::Null},
                                          {"predicted_exact", QJsonValue::Null}},
                                         // A script must see which file stands in the way.
                                         {{"source", taken},
                                          {"output", out + "/taken.mp3"},
                                          {"status", "skipped"},
                                          {"reason", "exists"},
                                          {"bytes_before", takenSize},
                                          {"predicted_bytes", QJsonValue::Null},
                                          {"predicted_exact", QJsonValue::Null}},
                                         {{"summary", QJsonObject{{"would_reduce", 1},
                                                                  {"skipped", 2},
                                                                  {"failed", 0},
                                                                  {"gone", 0},
                                                                  {"bytes_before", size}}}}}));
    EXPECT_EQ(test::EntriesOf(out), QStringList{"taken.mp3"});
}

// A line of a newline-separated list with a NUL byte in it names no file: it
// fails as it is, and the file its first part names is not taken instead.
TEST_F(ReduceCommandTest, AListLineHoldingANulFailsAndNamesNoOtherFile) {
    const QString song = Mp3("song.mp3");
    const CliRun run = Run({"--dry-run", "--json", "--from", "-", "-o", out},
                           QFile::encodeName(song) + QByteArray("\0.bak\n", 6));
    EXPECT_EQ(run.exitCode, 1);
    const QList<QJsonObject> lines = test::JsonLines(run.out);
    ASSERT_EQ(lines.size(), 2) << run.out.toStdString();
    EXPECT_EQ(lines[0], (QJsonObject{{"source", song + QChar(0) + ".bak"},
                                     {"output", QJsonValue::Null},
                                     {"status", "failed"},
                                     {"reason", "the name holds a NUL byte"},
                                     {"bytes_before", QJsonValue::Null},
                                     {"predicted_bytes", QJsonValue::Null},
                                     {"predicted_exact", QJsonValue::Null}}));
    EXPECT_EQ(lines[1]["summary"]["would_reduce"], 0);
}

// A name that is not UTF-8 is skipped for it, alike whether it is an
// argument, a line of --from or met in a folder; JSON gives its bytes.
TEST_F(ReduceCommandTest, ANameThatIsNotUtf8IsSkippedAlikeHoweverItIsGiven) {
    const QByteArray name = QFile::encodeName(Q(dir.file("latin"))) + "/caf\xe9.mp3";
    QDir().mkpath(Q(dir.file("latin")));
    std::ofstream(name.toStdString()) << "not audio";
    const struct {
        const char* how;
        QStringList args;
        QByteArray input;
    } cases[] = {
        {"argument", {}, {}},
        {"--from", {"--from", "-"}, name + '\n'},
        {"folder", {Q(dir.file("latin"))}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        QProcess process;
        if (c.args.isEmpty()) {
            // QProcess takes arguments as text; the bytes go through a shell.
            process.start(QStringLiteral("sh"),
                          {"-c", "exec \"$0\" reduce --json -o \"$1\" \"$(printf '%b' \"$2\")\"",
                           QStringLiteral(MIRELUNE_CLI), out,
                           QString::fromLatin1(name).replace(QChar(0xE9), "\\0351")});
        } else {
            process.start(QStringLiteral(MIRELUNE_CLI),
                          QStringList{"reduce", "--json", "-o", out} + c.args);
        }
        process.write(c.input);
        process.closeWriteChannel();
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 0);
        const QList<QJsonObject> lines =
            test::JsonLines(QString::fromUtf8(process.readAllStandardOutput()));
        ASSERT_EQ(lines.size(), 2);
        EXPECT_EQ(lines[0]["source"],
                  QString::fromLatin1(name).replace(QChar(0xE9), QChar(0xFFFD)));
        EXPECT_EQ(lines[0]["source_base64"], QString::fromLatin1(name.toBase64()));
        EXPECT_EQ(lines[0]["status"], "skipped");
        EXPECT_EQ(lines[0]["reason"], "name is not valid UTF-8");
    }
}

TEST_F(ReduceCommandTest, ParallelResultsAreByteIdenticalToSequentialOnes) {
    QStringList sources;
    for (int i = 0; i < 5; ++i) {
        sources.append(Mp3("s" + std::to_string(i) + ".mp3", 300 + 100 * i));
    }
    const QString one = Q(dir.file("one"));
    const QString two = Q(dir.file("two"));
    QDir().mkpath(one);
    QDir().mkpath(two);
    const CliRun sequential = Run(QStringList{"-j", "1", "-o", one} + sources);
    const CliRun parallel = Run(QStringList{"-j", "2", "-o", two} + sources);
    EXPECT_EQ(sequential.exitCode, 0) << sequential.err.toStdString();
    EXPECT_EQ(parallel.exitCode, 0) << parallel.err.toStdString();
    EXPECT_EQ(parallel.out, sequential.out);
    const QStringList names = test::EntriesOf(one);
    ASSERT_EQ(names.size(), 5);
    EXPECT_EQ(test::EntriesOf(two), names);
    for (const QString& name : names) {
        EXPECT_EQ(test::ReadBytes(one + QLatin1Char('/') + name),
                  test::ReadBytes(two + QLatin1Char('/') + name))
            << name.toStdString();
        EXPECT_EQ(BitrateOf(one + QLatin1Char('/') + name), 128000);
    }
    EXPECT_TRUE(test::EntriesOf(temp).isEmpty());
    EXPECT_TRUE(QRegularExpression(
                    QStringLiteral(
                        R"(^reduced 5, skipped 0, failed 0; \S+ \S+ → \S+ \S+, \d+\.\d% saved\n$)"))
                    .match(sequential.out)
                    .hasMatch())
        << sequential.out.toStdString();
}

TEST_F(ReduceCommandTest, CollidingNamesAreNumberedInListOrderWhateverRunsFirst) {
    // The long file is first: run side by side, it ends last.
    const QString first = Mp3("a/song.mp3", 440, "-b 192", 3.0);
    const QString second = Mp3("b/song.mp3", 880, "-b 192", 0.5);
    const QString third = Mp3("c/song.mp3", 660, "-b 192", 0.5);
    const CliRun run = Run({"-j", "3", "-o", out, first, Q(dir.file("b")), third, first});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(test::EntriesOf(out), QStringList({"song (2).mp3", "song (3).mp3", "song.mp3"}));
    mp3::MP3Info info;
    const auto seconds = [&](const QString& name) {
        info.ReadMP3Info(QFile::encodeName(out + QLatin1Char('/') + name).toStdString());
        return info.duration() / 1000.0;
    };
    EXPECT_NEAR(seconds(QStringLiteral("song.mp3")), 3.0, 0.1);
    EXPECT_NEAR(seconds(QStringLiteral("song (2).mp3")), 0.5, 0.1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("skipped: ") + first +
                                 QStringLiteral(": listed more than once")));
}

TEST_F(ReduceCommandTest, KeepTreeRebuildsEachFolderArgumentsSubFolders) {
    Mp3("tree/top.mp3");
    Mp3("tree/a/mid.mp3");
    Mp3("tree/a/b/deep.mp3");
    Mp3("tree/~skipped.mp3");
    Mp3("other/x.mp3");
    const CliRun run = Run({"--keep-tree", "-o", out, Q(dir.file("tree")), Q(dir.file("other"))});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(test::FilesUnder(out),
              QStringList({"a/b/deep.mp3", "a/mid.mp3", "top.mp3", "x.mp3"}));

    const QString flat = Q(dir.file("flat"));
    QDir().mkpath(flat);
    EXPECT_EQ(Run({"-o", flat, Q(dir.file("tree"))}).exitCode, 0);
    EXPECT_EQ(test::EntriesOf(flat), QStringList({"deep.mp3", "mid.mp3", "top.mp3"}));
}

TEST_F(ReduceCommandTest, AFailedFileMakesTheExitCodeOne) {
    const QString song = Mp3("song.mp3");
    const QString blocked = out + QStringLiteral("/blocked.mp3");
    const QString blocker = Mp3("blocked.mp3");
    QDir().mkpath(blocked + QStringLiteral("/inside"));  // a folder holds the output name
    const CliRun run =
        Run({"--overwrite", "-o", out, song, blocker, Q(dir.file("nothing-here.mp3"))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("failed: ") + blocker +
                                 QStringLiteral(": could not replace")))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("no such file or folder")));
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("reduced 1, skipped 0, failed 2;")));
    EXPECT_EQ(test::EntriesOf(out), QStringList({"blocked.mp3", "song.mp3"}));
    EXPECT_TRUE(QFileInfo(blocked).isDir());
}

TEST_F(ReduceCommandTest, RunningTheSameReduceAgainReducesNothingAndOverwriteReplaces) {
    Mp3("music/a.mp3", 440);
    Mp3("music/b.mp3", 660);
    const QString music = Q(dir.file("music"));
    const QString result = out + QStringLiteral("/a.mp3");
    struct Case {
        const char* name;
        QStringList args;
        QString summary;
        QStringList outFiles;
        QStringList musicFiles;
        bool replaced;  // out/a.mp3 is a new file
    };
    const QStringList sources = {"a.mp3", "b.mp3"};
    const QStringList beside = {"a-reduced.mp3", "a.mp3", "b-reduced.mp3", "b.mp3"};
    const Case cases[] = {
        {"first run", {"-o", out, music}, "reduced 2, skipped 0,", sources, sources, true},
        {"the same again", {"-o", out, music}, "reduced 0, skipped 2,", sources, sources, false},
        {"--overwrite",
         {"--overwrite", "-o", out, music},
         "reduced 2, skipped 0,",
         sources,
         sources,
         true},
        {"beside, first run", {"--beside", music}, "reduced 2, skipped 0,", sources, beside, false},
        {"beside again", {"--beside", music}, "reduced 0, skipped 4,", sources, beside, false},
    };
    std::optional<FileIdentity> previous;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = Run(c.args);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.startsWith(c.summary)) << run.out.toStdString();
        EXPECT_EQ(test::EntriesOf(out), c.outFiles);
        EXPECT_EQ(test::EntriesOf(music), c.musicFiles);
        const std::optional<FileIdentity> now = IdentityOf(result);
        EXPECT_EQ(now != previous, c.replaced);
        previous = now;
        EXPECT_EQ(BitrateOf(result), 128000);
    }
    const CliRun again = Run({"-o", out, music});
    EXPECT_TRUE(again.err.contains(QStringLiteral("skipped: ") + music +
                                   QStringLiteral("/a.mp3: exists\n")))
        << again.err.toStdString();
    const CliRun besideAgain = Run({"--beside", music});
    EXPECT_TRUE(besideAgain.err.contains(QStringLiteral("skipped: ") + music +
                                         QStringLiteral("/a-reduced.mp3: result of ") + music +
                                         QStringLiteral("/a.mp3\n")))
        << besideAgain.err.toStdString();
}

// A source that changed since its result was made gets its result made again
// under the same name, while a user's file at another wanted name is left as
// it is, with --refresh as without it.
TEST_F(ReduceCommandTest, RefreshMakesAnOutdatedResultAgainAndLeavesAUsersFileAlone) {
    const QString music = Q(dir.file("music"));
    Mp3("music/song.mp3", 440, "-b 192", 1.0);
    ASSERT_EQ(Run({"-o", out, music}).exitCode, 0);
    const QString result = out + QStringLiteral("/song.mp3");
    const QByteArray first = test::ReadBytes(result);

    Mp3("music/song.mp3", 880, "-b 192", 2.0);
    const QString mine = Mp3("music/mine.mp3", 660);
    test::WriteBytes(out + "/mine.mp3", "the user's own file");
    const CliRun plain = Run({"-o", out, music});
    EXPECT_TRUE(plain.out.startsWith(QStringLiteral("reduced 0, skipped 2,")))
        << plain.out.toStdString();
    EXPECT_TRUE(plain.err.contains(music + QStringLiteral("/song.mp3: outdated\n")))
        << plain.err.toStdString();

    const CliRun run = Run({"--refresh", "-o", out, music});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("reduced 1, skipped 1,")))
        << run.out.toStdString();
    EXPECT_EQ(run.err, QStringLiteral("skipped: ") + mine + QStringLiteral(": exists\n"));
    EXPECT_EQ(test::EntriesOf(out), (QStringList{"mine.mp3", "song.mp3"}));
    EXPECT_EQ(test::ReadBytes(out + "/mine.mp3"), "the user's own file");
    // Exactly what a fresh run makes of the changed source.
    const QString fresh = Q(dir.file("fresh"));
    ASSERT_TRUE(QDir().mkpath(fresh));
    ASSERT_EQ(Run({"-o", fresh, music + QStringLiteral("/song.mp3")}).exitCode, 0);
    EXPECT_EQ(test::ReadBytes(result), test::ReadBytes(fresh + QStringLiteral("/song.mp3")));
    EXPECT_NE(test::ReadBytes(result), first);
}

// A source found again after a move is recorded under its new path by a
// real run, so the next run needs no guess; a dry run records nothing.
TEST_F(ReduceCommandTest, AMovedSourceIsRecordedAgainByARealRunOnly) {
    Mp3("music/A/song.mp3", 440, "-b 192", 1.0);
    ASSERT_EQ(Run({"-o", out, Q(dir.file("music"))}).exitCode, 0);
    const QString records = out + QStringLiteral("/.mirelune");
    const QStringList firstJournals = QDir(records).entryList(QDir::Files);
    ASSERT_EQ(firstJournals.size(), 1);
    ASSERT_TRUE(QDir().rename(Q(dir.file("music/A")), Q(dir.file("music/B"))));
    const QString moved = Q(dir.file("music/B/song.mp3"));

    const CliRun dry = Run({"--dry-run", "-o", out, Q(dir.file("music"))});
    EXPECT_EQ(dry.exitCode, 0) << dry.err.toStdString();
    EXPECT_EQ(QDir(records).entryList(QDir::Files), firstJournals);
    const CliRun run = Run({"-o", out, Q(dir.file("music"))});
    EXPECT_EQ(run.err, QStringLiteral("skipped: ") + moved + QStringLiteral(": exists\n"));
    EXPECT_EQ(QDir(records).entryList(QDir::Files).size(), 2);

    Mp3("music/B/song.mp3", 880, "-b 192", 2.0);
    const CliRun changed = Run({"-o", out, Q(dir.file("music"))});
    EXPECT_EQ(changed.err, QStringLiteral("skipped: ") + moved + QStringLiteral(": outdated\n"));
    EXPECT_EQ(test::EntriesOf(out), (QStringList{"song.mp3"}));
}

// A signal in the middle of a run stops the encoders and removes what is
// half done: no temporary result, no encoder folder. The row that was running
// is interrupted, not failed, also when Ctrl+C reached its encoder first.
TEST_F(ReduceCommandTest, ASignalLeavesOnlyWholeResults) {
    QStringList sources;
    for (int i = 0; i < 6; ++i) {
        sources.append(Mp3("long" + std::to_string(i) + ".mp3", 300 + 50 * i, "-b 192", 8.0));
    }
    const struct {
        int signal;
        bool wholeGroup;  // as Ctrl+C in a terminal
    } cases[] = {{SIGTERM, false}, {SIGHUP, false}, {SIGINT, false}, {SIGINT, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.signal) + (c.wholeGroup ? " to the group" : ""));
        const QString into =
            Q(dir.file("out-" + std::to_string(c.signal) + (c.wholeGroup ? "-group" : "")));
        ASSERT_TRUE(QDir().mkpath(into));
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TEMP"), temp);
        process.setProcessEnvironment(environment);
        process.setChildProcessModifier([] { ::setpgid(0, 0); });
        process.start(QStringLiteral(MIRELUNE_CLI),
                      QStringList{"reduce", "--json", "-j", "1", "-o", into} + sources);
        ASSERT_TRUE(process.waitForStarted());
        // Stop it as soon as an encoder is writing.
        for (int i = 0; i < 3000 && !test::EntriesOf(into).join(QString()).contains(".part"); ++i) {
            QThread::msleep(10);
        }
        const pid_t pid = static_cast<pid_t>(process.processId());
        ASSERT_EQ(::kill(c.wholeGroup ? -pid : pid, c.signal), 0);
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 130) << process.readAllStandardError().toStdString();
        for (const QString& name : test::EntriesOf(into)) {
            EXPECT_FALSE(name.startsWith(QLatin1Char('.'))) << name.toStdString();
            EXPECT_EQ(BitrateOf(into + QLatin1Char('/') + name), 128000) << name.toStdString();
        }
        const qsizetype results = test::EntriesOf(into).size();
        EXPECT_LT(results, sources.size());
        EXPECT_TRUE(test::EntriesOf(temp).isEmpty());
        const QList<QJsonObject> lines = test::JsonLines(process.readAllStandardOutput());
        ASSERT_EQ(lines.size(), results + 2);  // the reduced rows, the interrupted one, summary
        EXPECT_EQ(lines[results]["status"], QStringLiteral("interrupted"));
        QJsonObject summary = lines.last()["summary"].toObject();
        EXPECT_EQ(summary["reduced"].toInteger(), results);
        EXPECT_EQ(summary["failed"].toInteger(), 0);
        EXPECT_EQ(summary["interrupted"].toInteger(), 1);
        EXPECT_EQ(summary["stopped"], true);
    }
}

// Processes whose program lies in folder.
int ProgramsRunningFrom(const QString& folder) {
    int count = 0;
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        const QString program = QFileInfo(QStringLiteral("/proc/") + pid + "/exe").symLinkTarget();
        count += program.startsWith(folder + QLatin1Char('/')) ? 1 : 0;
    }
    return count;
}

// kill -KILL gives the program no chance to clean up: its encoder ends with
// it, and the next run into the same places removes what was left.
TEST_F(ReduceCommandTest, AKilledRunsEncoderEndsWithItAndTheNextRunClearsWhatItLeft) {
    const QString source = Mp3("long.mp3", 440, "-b 192", 60.0);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TEMP"), temp);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(MIRELUNE_CLI), {"reduce", "-o", out, source});
    ASSERT_TRUE(process.waitForStarted());
    const auto temporaries = [this] {
        return test::EntriesOf(out).filter(QRegularExpression(QStringLiteral("\\.part$")));
    };
    // The job's temporary file and the encoder's own: the encoder is writing.
    for (int i = 0; i < 3000 && temporaries().size() < 2; ++i) {
        QThread::msleep(10);
    }
    ASSERT_EQ(::kill(static_cast<pid_t>(process.processId()), SIGKILL), 0);
    ASSERT_TRUE(process.waitForFinished(60000));
    for (int i = 0; i < 1000 && ProgramsRunningFrom(temp) > 0; ++i) {
        QThread::msleep(10);
    }
    EXPECT_EQ(ProgramsRunningFrom(temp), 0);
    // The encoder took its own file along and never finished the job's.
    ASSERT_EQ(temporaries().size(), 1);
    EXPECT_EQ(QFileInfo(out + '/' + temporaries()[0]).size(), 0);
    EXPECT_EQ(test::EntriesOf(temp).size(), 1);

    const CliRun again = Run({"-o", out, source});
    ASSERT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_EQ(test::EntriesOf(out), QStringList{"long.mp3"});
    EXPECT_EQ(BitrateOf(out + "/long.mp3"), 128000);
    EXPECT_TRUE(test::EntriesOf(temp).isEmpty());
}

// Paths as find -print0 writes them, and one JSON line per row for a program
// to read; the text summary goes to standard error, out of its way.
TEST_F(ReduceCommandTest, NulSeparatedPathsFromStandardInputAndJsonRows) {
    const QString arg = Mp3("arg.mp3", 550);
    const QString twoLines = Mp3("music/two\nlines.mp3", 440);  // only a NUL can end it
    const QString cover = Q(dir.file("music/cover.jpg"));
    test::WriteBytes(cover, "not audio");
    const QByteArray latin1 = QFile::encodeName(Q(dir.file("caf"))) + "\xe9.mp3";
    std::ofstream(latin1.toStdString()) << test::ReadBytes(arg).toStdString();

    const CliRun run =
        Run({"--json", "--from", "-", "--null", "-o", out, arg},
            QFile::encodeName(twoLines) + '\0' + QFile::encodeName(cover) + '\0' + latin1 + '\0');
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains(QStringLiteral("\nreduced 2, skipped 2, failed 0; ")));

    const QList<QJsonObject> lines = test::JsonLines(run.out);
    ASSERT_EQ(lines.size(), 5);       // four rows and the summary
    std::map<QString, QString> rows;  // source -> status, output, reason
    qint64 before = 0;
    qint64 after = 0;
    for (int i = 0; i < 4; ++i) {
        QJsonObject row = lines[i];
        // Only a name that is not UTF-8 has its bytes as well.
        EXPECT_EQ(row.take(QStringLiteral("source_base64")).toString(),
                  row["source"].toString().contains(QChar(0xFFFD))
                      ? QString::fromLatin1(latin1.toBase64())
                      : QString());
        EXPECT_EQ(row.keys(), QStringList({"bytes_after", "bytes_before", "note", "output",
                                           "reason", "seconds", "source", "status"}));
        const QString output = row["output"].toString(QStringLiteral("null"));
        rows[row["source"].toString()] = row["status"].toString() + ' ' + output + ' ' +
                                         row["reason"].toString(QStringLiteral("null"));
        const bool reduced = row["status"] == QStringLiteral("reduced");
        EXPECT_EQ(row["bytes_after"].toInteger(-1), reduced ? QFileInfo(output).size() : -1);
        before += reduced ? row["bytes_before"].toInteger() : 0;
        after += reduced ? row["bytes_after"].toInteger() : 0;
    }
    EXPECT_EQ(rows, (std::map<QString, QString>{
                        {arg, "reduced " + out + "/arg.mp3 null"},
                        {twoLines, "reduced " + out + "/two\nlines.mp3 null"},
                        {cover, "skipped null not a valid MP3 file"},
                        {QFile::decodeName(latin1), "skipped null name is not valid UTF-8"}}));
    EXPECT_EQ(before, QFileInfo(arg).size() + QFileInfo(twoLines).size());

    QJsonObject summary = lines[4]["summary"].toObject();
    EXPECT_TRUE(summary.take(QStringLiteral("seconds")).isDouble());
    EXPECT_EQ(summary, QJsonObject({{"reduced", 2},
                                    {"skipped", 2},
                                    {"failed", 0},
                                    {"interrupted", 0},
                                    {"gone", 0},
                                    {"bytes_before", before},
                                    {"bytes_after", after},
                                    {"stopped", false}}));
}

// Scripts read the figures: a German user's environment changes none of them.
TEST_F(ReduceCommandTest, ResultsLargerThanTheirSourcesAreSummedUpAsLarger) {
    const QString song = Mp3("low.mp3", 440, "-b 32");
    const char* const variables[] = {"LC_ALL", "LANG", "LANGUAGE"};
    std::vector<std::optional<QByteArray>> saved;
    for (const char* variable : variables) {
        saved.push_back(qEnvironmentVariableIsSet(variable)
                            ? std::optional<QByteArray>(qgetenv(variable))
                            : std::nullopt);
        qputenv(variable, variable == variables[2] ? "de" : "de_DE.UTF-8");
    }
    const CliRun run = Run({"-b", "320", "-o", out, song});
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (saved[i]) {
            qputenv(variables[i], *saved[i]);
        } else {
            qunsetenv(variables[i]);
        }
    }
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const double before = static_cast<double>(QFileInfo(song).size());
    const double after = static_cast<double>(QFileInfo(out + QStringLiteral("/low.mp3")).size());
    ASSERT_GT(after, before);
    EXPECT_TRUE(run.out.endsWith(QStringLiteral(", %1% larger; 1 result larger than the original\n")
                                     .arg(100.0 * (after - before) / before, 0, 'f', 1)))
        << run.out.toStdString();
    EXPECT_TRUE(
        run.err.startsWith(QStringLiteral("larger: %1: larger than the original (").arg(song)))
        << run.err.toStdString();
    static const QRegularExpression sizes(QStringLiteral(
        R"(^larger: .*: larger than the original \([0-9]+\.[0-9] KiB → [0-9]+\.[0-9] KiB\)$)"));
    EXPECT_TRUE(sizes.match(run.err.trimmed()).hasMatch()) << run.err.toStdString();
}

}  // namespace
}  // namespace mirelune

namespace mirelune {
namespace {

// A phone card or USB stick as the target: the drivers most Linux systems
// mount them with, on real file systems made for the test.
TEST_F(ReduceCommandTest, StickFileSystemsTakeEveryResultUnderANameTheyAccept) {
    Mp3("in/Who Are You?/Song.mp3", 440);
    Mp3("in/B/song.mp3", 550);
    Mp3("in/Caf\xC3\xA9.mp3", 660);
    const QString in = Q(dir.file("in"));
    const struct {
        const char* kind;
        QStringList flat;  // with -o MOUNT/flat
        QStringList tree;  // with -o MOUNT/tree --keep-tree
    } cases[] = {
        {"vfat",
         {"Cafe.mp3", "Song (2).mp3", "song.mp3"},
         {"B/song.mp3", "Cafe.mp3", "Who Are You_/Song.mp3"}},
        {"exfat",
         {"Caf\xC3\xA9.mp3", "Song (2).mp3", "song.mp3"},
         {"B/song.mp3", "Caf\xC3\xA9.mp3", "Who Are You_/Song.mp3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        const QString stick = Q(dir.file(std::string("stick-") + c.kind));
        const test::FuseMount mount(QString::fromUtf8(c.kind), stick + ".img", stick);
        if (!mount.mounted()) {
            GTEST_SKIP() << mount.why();
        }
        for (const bool keepTree : {false, true}) {
            const QString target = stick + (keepTree ? "/tree" : "/flat");
            ASSERT_TRUE(QDir().mkpath(target));
            QStringList args{"-o", target, in};
            if (keepTree) {
                args.prepend("--keep-tree");
            }
            const CliRun run = Run(args);
            EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
            EXPECT_TRUE(run.out.startsWith("reduced 3, skipped 0, failed 0;"))
                << run.out.toStdString();
            const QStringList made = test::FilesUnder(target);
            for (const QString& name : made) {
                EXPECT_GT(BitrateOf(target + "/" + name), 0) << name.toStdString();
            }
            EXPECT_EQ(made, keepTree ? QStringList(c.tree) : QStringList(c.flat));
            // Again: everything is there, nothing is made twice.
            const CliRun again = Run(args);
            EXPECT_TRUE(again.out.startsWith("reduced 0, skipped 3, failed 0;"))
                << again.out.toStdString() << again.err.toStdString();
            // Each result's record counts: the stick keeps the times they were given.
            EXPECT_EQ(RecordedResults().read(target).size(), 3U);
        }
        const CliRun renamed = Run({"-o", stick + "/flat", "--overwrite", in});
        EXPECT_EQ(renamed.err.contains(QString::fromUtf8("renamed: ") + in +
                                       QString::fromUtf8("/Caf\xC3\xA9.mp3: saved as ") + stick +
                                       "/flat/Cafe.mp3"),
                  std::string(c.kind) == "vfat")
            << renamed.err.toStdString();
    }
}

// Both stick drivers ignore a modification time set alone; the result gets
// both times, keeps its original's, and its record counts on the next run.
TEST_F(ReduceCommandTest, KeepTimeHoldsOnStickFileSystems) {
    const QString song = Mp3("in/song.mp3");
    constexpr qint64 kTime = 1600000000000;  // an even second: FAT keeps it exactly
    ASSERT_TRUE(SetModifiedTime(song, kTime));
    for (const char* kind : {"vfat", "exfat"}) {
        SCOPED_TRACE(kind);
        const QString stick = Q(dir.file(std::string("stick-") + kind));
        const test::FuseMount mount(QString::fromUtf8(kind), stick + ".img", stick);
        if (!mount.mounted()) {
            GTEST_SKIP() << mount.why();
        }
        const CliRun run = Run({"--keep-time", "-o", stick, song});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_FALSE(run.err.contains(QStringLiteral("warning"))) << run.err.toStdString();
        EXPECT_EQ(QFileInfo(stick + "/song.mp3").lastModified().toMSecsSinceEpoch(), kTime);
        const CliRun again = Run({"--keep-time", "-o", stick, song});
        EXPECT_TRUE(again.out.startsWith("reduced 0, skipped 1, failed 0;"))
            << again.out.toStdString() << again.err.toStdString();
    }
}

// FAT keeps no time before 1980: the results get another one, the run says
// so once, and their records hold the time they have, so the next run finds
// them made.
TEST_F(ReduceCommandTest, ATimeTheTargetCannotKeepIsReportedOnceAndRecordedAsItIs) {
    constexpr qint64 k1975 = 157766400000;
    for (const std::string name : {"in/a.mp3", "in/b.mp3"}) {
        ASSERT_TRUE(SetModifiedTime(Mp3(name), k1975));
    }
    const QString stick = Q(dir.file("stick"));
    const test::FuseMount mount(QStringLiteral("vfat"), stick + ".img", stick);
    if (!mount.mounted()) {
        GTEST_SKIP() << mount.why();
    }
    const CliRun run = Run({"--keep-time", "-o", stick, Q(dir.file("in"))});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, QStringLiteral("warning: --keep-time: the target did not keep the "
                                      "original's time of 2 result(s); they have the time the "
                                      "target gave them\n"));
    EXPECT_NE(QFileInfo(stick + "/a.mp3").lastModified().toMSecsSinceEpoch(), k1975);
    const CliRun again = Run({"--keep-time", "-o", stick, Q(dir.file("in"))});
    EXPECT_TRUE(again.out.startsWith("reduced 0, skipped 2, failed 0;"))
        << again.out.toStdString() << again.err.toStdString();
}

// On a case-blind stick "Loud.mp3" is the original "Loud.MP3" itself, whatever
// inode numbers the driver gives the two spellings: whether the result goes
// beside it or into its folder, with leave to replace or not, the original
// stays as it was and the result takes another name.
TEST_F(ReduceCommandTest, OnACaseBlindStickAnOriginalIsNeverItsOwnOutput) {
    const QString stick = Q(dir.file("stick"));
    const test::FuseMount mount(QStringLiteral("vfat"), stick + ".img", stick);
    if (!mount.mounted()) {
        GTEST_SKIP() << mount.why();
    }
    const QByteArray original = test::ReadBytes(Mp3("loud.mp3", 440, "-b 160"));
    const struct {
        const char* folder;
        QStringList args;  // FOLDER stands for the case's folder on the stick
        const char* stored = "Loud.MP3";
    } cases[] = {
        {"beside", {"--beside", "FOLDER"}},
        {"beside-overwrite", {"--beside", "--overwrite", "FOLDER"}},
        {"into-own-folder", {"-o", "FOLDER", "FOLDER/Loud.MP3"}},
        {"into-own-folder-overwrite", {"--overwrite", "-o", "FOLDER", "FOLDER/Loud.MP3"}},
        // Named on the command line in another case than the stick keeps:
        // the stick lists only "Loud.mp3", which is the source itself.
        {"named-otherwise", {"--beside", "--overwrite", "FOLDER/Loud.MP3"}, "Loud.mp3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        const QString folder = stick + "/" + c.folder;
        ASSERT_TRUE(QDir().mkpath(folder));
        test::WriteBytes(folder + "/" + c.stored, original);
        QStringList args = c.args;
        args.replaceInStrings(QStringLiteral("FOLDER"), folder);
        const CliRun run = Run(args);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.startsWith("reduced 1, skipped 0, failed 0;")) << run.out.toStdString();
        EXPECT_EQ(test::ReadBytes(folder + "/" + c.stored), original);
        EXPECT_EQ(test::EntriesOf(folder), QStringList({"Loud-reduced.mp3", c.stored}));
        EXPECT_EQ(BitrateOf(folder + "/Loud-reduced.mp3"), 128000);
    }
}

// A result an older version put beside its upper-case original on a target
// that tells case apart is still known as that original's result.
TEST_F(ReduceCommandTest, AnOlderResultBesideAnUpperCaseOriginalKeepsTheRerunQuiet) {
    const QString loud = Mp3("music/Loud.MP3", 440, "-b 160");
    const QString older = Q(dir.file("music/Loud.mp3"));
    test::WriteBytes(older, test::ReadBytes(Mp3("older.mp3", 550, "-b 64")));
    const CliRun run = Run({"--beside", Q(dir.file("music"))});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith("reduced 0, skipped 2, failed 0;")) << run.out.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("skipped: %1: exists").arg(loud)))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("skipped: %1: result of %2").arg(older, loud)))
        << run.err.toStdString();
    EXPECT_EQ(test::EntriesOf(Q(dir.file("music"))), QStringList({"Loud.MP3", "Loud.mp3"}));
}

// Two users share an output folder: the first run's record folder lets the
// other write records too (sticky, so neither can remove the other's), and
// each user's results count for both of them.
TEST_F(ReduceCommandTest, TwoUsersShareAnOutputFolder) {
    const QString share = Q(dir.file("share"));
    ASSERT_TRUE(QDir().mkpath(share + "/.mirelune"));
    ASSERT_EQ(::chmod(QFile::encodeName(share).constData(), 0777), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(share + "/.mirelune").constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(temp).constData(), 01777), 0);
    const QString a = Mp3("music/a.mp3", 440);
    const QString b = Mp3("music/b.mp3", 550);
    const auto runAsOther = [&](const QStringList& args) {
        QProcess other;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TEMP", temp);
        environment.insert("HOME", temp);
        other.setProcessEnvironment(environment);
        other.start("setpriv", QStringList{"--reuid=65534", "--regid=65534", "--clear-groups",
                                           MIRELUNE_CLI, "reduce"} +
                                   args);
        other.waitForFinished(120000);
        return CliRun{other.exitCode(), QString::fromUtf8(other.readAllStandardOutput()),
                      QString::fromUtf8(other.readAllStandardError())};
    };
    // A record folder as an older version made it: only its owner may write.
    const CliRun refused = runAsOther({"-o", share, b});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(
        QStringLiteral("failed: %1: could not write the record of results in %2/.mirelune: "
                       "Permission denied; ask its owner to let you write there, or choose "
                       "another output folder")
            .arg(b, share)))
        << refused.err.toStdString();
    EXPECT_TRUE(test::EntriesOf(share + "/.mirelune").isEmpty());
    EXPECT_TRUE(test::EntriesOf(share).isEmpty());

    // Its owner's next run lets everyone who may write in the folder write
    // records, and nobody remove another's.
    const CliRun first = Run({"-o", share, a});
    EXPECT_TRUE(first.out.startsWith("reduced 1, skipped 0, failed 0;")) << first.err.toStdString();
    struct stat records {};
    ASSERT_EQ(::stat(QFile::encodeName(share + "/.mirelune").constData(), &records), 0);
    EXPECT_EQ(records.st_mode & 07777, 01777U);

    const CliRun second = runAsOther({"-o", share, b});
    EXPECT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_TRUE(second.out.startsWith("reduced 1, skipped 0, failed 0;"));
    EXPECT_EQ(QFileInfo(share + "/b.mp3").ownerId(), 65534U);

    // Each user's results count for both.
    for (const bool asOther : {false, true}) {
        const CliRun again = asOther ? runAsOther({"-o", share, a, b}) : Run({"-o", share, a, b});
        EXPECT_TRUE(again.out.startsWith("reduced 0, skipped 2, failed 0;"))
            << again.out.toStdString() << again.err.toStdString();
    }
}

// With --keep-tree an album folder in the output tree that is a link sends
// nothing outside the output folder: its rows fail, the others are made, and
// no record folder is left where nothing was recorded.
TEST_F(ReduceCommandTest, AKeepTreeFolderThatIsALinkFailsItsRows) {
    const QString song = Mp3("in/A/song.mp3", 440);
    Mp3("in/B/tune.mp3", 550);
    const QString elsewhere = Q(dir.file("elsewhere"));
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    test::WriteBytes(elsewhere + "/song.mp3", "mine");
    ASSERT_TRUE(QFile::link(elsewhere, out + "/A"));
    const CliRun run = Run({"--keep-tree", "--overwrite", "-o", out, Q(dir.file("in"))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("failed: %1: %2/A is a link or no folder: results "
                                                "go only into real folders below the output "
                                                "folder")
                                     .arg(song, out)))
        << run.err.toStdString();
    EXPECT_EQ(test::EntriesOf(elsewhere), QStringList{"song.mp3"});
    EXPECT_EQ(test::ReadBytes(elsewhere + "/song.mp3"), "mine");
    EXPECT_EQ(test::FilesUnder(out), QStringList{"B/tune.mp3"});
    EXPECT_FALSE(QFileInfo::exists(out + "/B/.mirelune"));
}

// Two shards write into one folder at once; next month an album arrives that
// sorts before the others: the results made keep their names, with their
// sources' times, and only the new source is reduced.
TEST_F(ReduceCommandTest, ShardsAtOnceAndARerunAfterTheLibraryGrew) {
    const QString music = Q(dir.file("music"));
    const QStringList names = {"B Album/01 Intro.mp3", "B Album/02 Song.mp3",
                               "C Album/01 Intro.mp3", "C Album/03 Coda.mp3"};
    int frequency = 300;
    for (const QString& name : names) {
        Mp3("music/" + name.toStdString(), frequency += 100);
    }
    std::vector<std::unique_ptr<QProcess>> shards;
    for (const char* shard : {"1/2", "2/2"}) {
        auto process = std::make_unique<QProcess>();
        process->start(QStringLiteral(MIRELUNE_CLI),
                       {"reduce", "--shard", shard, "--keep-time", "-j", "1", "-o", out, music});
        shards.push_back(std::move(process));
    }
    int writers = 0;  // a shard the paths' hashes gave no file writes no journal
    for (const auto& process : shards) {
        ASSERT_TRUE(process->waitForFinished(120000));
        EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
        writers += process->readAllStandardOutput().startsWith("reduced 0,") ? 0 : 1;
    }
    EXPECT_EQ(test::FilesUnder(out),
              QStringList({"01 Intro (2).mp3", "01 Intro.mp3", "02 Song.mp3", "03 Coda.mp3"}));
    EXPECT_EQ(QDir(out + "/.mirelune").entryList(QDir::Files).size(), writers);
    EXPECT_EQ(QFileInfo(out + "/01 Intro (2).mp3").lastModified(),
              QFileInfo(music + "/C Album/01 Intro.mp3").lastModified());

    Mp3("music/A Album/01 Intro.mp3", 1000);
    const CliRun again = Run({"--json", "-o", out, music});
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    QStringList rows;
    for (const QJsonObject& row : test::JsonLines(again.out)) {
        if (row.contains("summary")) {
            const QJsonObject summary = row["summary"].toObject();
            rows.append(QStringLiteral("summary %1 %2")
                            .arg(summary["reduced"].toInt())
                            .arg(summary["skipped"].toInt()));
        } else {
            rows.append(QDir(out).relativeFilePath(row["output"].toString()) + " " +
                        row["status"].toString() + " " + row["reason"].toString());
        }
    }
    EXPECT_EQ(rows, QStringList({"01 Intro.mp3 skipped exists", "02 Song.mp3 skipped exists",
                                 "01 Intro (2).mp3 skipped exists", "03 Coda.mp3 skipped exists",
                                 "01 Intro (3).mp3 reduced ", "summary 1 4"}));
}

}  // namespace
}  // namespace mirelune

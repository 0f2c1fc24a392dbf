// SPDX-License-Identifier: GPL-3.0-or-later
// The shared "reduce one file" unit and the runner that waits for it, with
// small scripts standing in for the encoder.
#include "reduce/FileReduction.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <memory>

#include "reduce/EncoderCopy.h"
#include "reduce/ReductionBatch.h"
#include "reduce/ReductionChecks.h"
#include "reduce/RunAndWait.h"
#include "runs/JournalRecords.h"
#include "support/FuseMount.h"
#include "support/ReduceTestSupport.h"
#include "support/TmpfsMount.h"

namespace mirelune {
namespace {

using test::Q;
using Status = ReductionOutcome::Status;

const QByteArray kOldResult = QByteArrayLiteral("the result of an earlier job");

class StandInTest : public ::testing::Test {
  protected:
    void SetUp() override {
        out = Q(dir.file("out"));
        temp = Q(dir.file("temp"));
        ASSERT_TRUE(QDir().mkpath(out));
        ASSERT_TRUE(QDir().mkpath(temp));
        source = Q(dir.file("song.mp3"));
        test::WriteBytes(source, test::HandMadeMp3(5));
        output = out + QStringLiteral("/song.mp3");
        env = std::make_unique<test::ScopedEnv>("TEMP", temp.toLocal8Bit());
    }

    // An encoder program running body, in a private folder as a job makes it.
    QString Encoder(const QString& body) {
        copies.push_back(std::make_unique<EncoderCopy>(test::StandIn(body)));
        return copies.back()->path();
    }

    QString Marker(const char* name) const { return Q(dir.file(name)); }

    test::ScratchDir dir;
    std::unique_ptr<test::ScopedEnv> env;
    std::vector<std::unique_ptr<EncoderCopy>> copies;
    QString out;
    QString temp;
    QString source;
    QString output;
    test::FakeJobView view;
};

TEST_F(StandInTest, OnlyACleanExitWithAValidResultReplacesTheOutput) {
    struct Case {
        const char* name;
        const char* body;
        Status status;
        qint32 exitCode;
        QString reason;
        QString note{};
    };
    const Case cases[] = {
        {"copies the source", R"(cp "$6" "$7")", Status::Reduced, 0, QString()},
        {"warns and still makes it",
         R"(echo "mirelune-encoder: $6: the tag is left out" >&2; cp "$6" "$7")", Status::Reduced,
         0, QString(), QStringLiteral("the tag is left out")},
        {"says other things and makes it", R"(echo "LAME 3.100" >&2; cp "$6" "$7")",
         Status::Reduced, 0, QString()},
        {"fails with a message", R"(echo starting; echo "Can't init infile 'x'" >&2; exit 3)",
         Status::Failed, 3, QStringLiteral("Can't init infile 'x'")},
        {"fails in silence", R"(echo only on standard output; exit 4)", Status::Failed, 4,
         QStringLiteral("the encoder failed with exit code 4")},
        {"ends in colours", R"(printf 'x\r\033[1mbold\033[0m\r\n\n' >&2; exit 2)", Status::Failed,
         2, QStringLiteral("bold")},
        {"fails amid its progress display",
         R"(printf '    Frame  |  CPU time/estim\n   10/383 (3%%)|  0:00/ 0:00|\r' >&2
            echo 'Error writing output' >&2
            printf '   20/383 (5%%)|  0:00/ 0:00|\r-------------\n' >&2; exit 1)",
         Status::Failed, 1, QStringLiteral("Error writing output")},
        {"writes garbage", R"(echo garbage > "$7")", Status::Failed, 0,
         QStringLiteral("result not a valid MP3 file")},
        {"writes nothing", R"(:)", Status::Failed, 0,
         QStringLiteral("result not a valid MP3 file")},
        {"removes its output", R"(rm -f "$7")", Status::Failed, 0,
         QStringLiteral("result not a valid MP3 file")},
        {"is killed", R"(printf 'half a line' >&2; cp "$6" "$7"; kill -9 $$)", Status::Failed, -1,
         QStringLiteral("the encoder stopped unexpectedly: half a line")},
        {"loses its source", R"(rm -f "$6"; echo "Can't open" >&2; exit 1)", Status::Failed, 1,
         QStringLiteral("the file no longer exists")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::WriteBytes(source, test::HandMadeMp3(5));
        test::WriteBytes(output, kOldResult);
        FileReduction reduction({.encoderPath = Encoder(QString::fromUtf8(c.body)),
                                 .source = source,
                                 .output = output,
                                 .replace = Replace::Yes});
        const qint32 returned = RunAndWait(
            reduction,
            {.bar = &view, .baseText = QStringLiteral("base"), .startValue = 50, .fileCount = 2},
            view.window(), 1);
        EXPECT_EQ(reduction.outcome().status, c.status);
        EXPECT_EQ(reduction.outcome().reason, c.reason);
        EXPECT_EQ(reduction.outcome().note, c.note);
        EXPECT_EQ(returned, c.exitCode);
        EXPECT_EQ(test::ReadBytes(output),
                  c.status == Status::Reduced ? test::HandMadeMp3(5) : kOldResult);
        EXPECT_EQ(test::EntriesOf(out), QStringList{QStringLiteral("song.mp3")});
    }
}

// Ctrl+C in a terminal reaches the encoders too: one ended by such a signal
// after the user asked the job to stop was stopped with it.
TEST_F(StandInTest, AnEncoderEndedByAStopSignalAfterAStopRequestIsInterrupted) {
    const struct {
        const char* signal;
        bool stopRequested;
        Status status;
    } cases[] = {
        {"INT", true, Status::Interrupted},
        {"KILL", true, Status::Failed},
        {"INT", false, Status::Failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.signal) + (c.stopRequested ? " after a stop request" : ""));
        FileReduction reduction(
            {.encoderPath = Encoder(QStringLiteral("kill -%1 $$").arg(c.signal)),
             .source = source,
             .output = output,
             .stopRequested = [&c] { return c.stopRequested; }});
        RunAndWait(
            reduction,
            {.bar = &view, .baseText = QStringLiteral("base"), .startValue = 50, .fileCount = 2},
            view.window(), 1);
        EXPECT_EQ(reduction.outcome().status, c.status);
        EXPECT_EQ(test::EntriesOf(out), QStringList());
    }
}

TEST_F(StandInTest, WithoutLeaveToReplaceAResultNeverTakesATakenName) {
    struct Case {
        const char* name;
        bool planted;  // something at the output path before the encoder ends
        Replace replace;
        Status status;
        bool again = false;  // made again over its recorded result
    };
    const Case cases[] = {
        {"free name", false, Replace::No, Status::Reduced},
        {"a file appeared meanwhile", true, Replace::No, Status::Skipped},
        {"a file appeared, but the user let it go", true, Replace::Yes, Status::Reduced},
        {"made again over its own result", false, Replace::Yes, Status::Reduced, true},
        {"made again, but a file took its place meanwhile", true, Replace::Yes, Status::Skipped,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(output);
        std::optional<FileStamp> recorded;
        if (c.again) {
            test::WriteBytes(output, "an earlier result");
            recorded = StampOf(output);
        }
        // The file turns up while the encoder runs: after any check made
        // before it started.
        const QString plant = c.planted ? QStringLiteral("echo planted > ") +
                                              test::ShellQuoted(output) + QStringLiteral("; ")
                                        : QString();
        FileReduction reduction({.encoderPath = Encoder(plant + QStringLiteral(R"(cp "$6" "$7")")),
                                 .source = source,
                                 .output = output,
                                 .replace = c.replace,
                                 .expectedThere = recorded});
        RunAndWait(reduction, {}, view.window(), 1);
        EXPECT_EQ(reduction.outcome().status, c.status);
        EXPECT_EQ(test::ReadBytes(output), c.status == Status::Skipped
                                               ? QByteArrayLiteral("planted\n")
                                               : test::HandMadeMp3(5));
        EXPECT_EQ(reduction.outcome().reason,
                  c.status == Status::Skipped ? QStringLiteral("exists") : QString());
        EXPECT_EQ(test::EntriesOf(out), QStringList{QStringLiteral("song.mp3")});
    }
}

TEST_F(StandInTest, AResultGetsTheSourcesReadAndWriteBitsOnly) {
    struct Case {
        unsigned source;
        unsigned result;  // under the umask 022
    };
    const Case cases[] = {
        {0600, 0600}, {0640, 0640}, {0666, 0644}, {04755, 0644}, {02660, 0640}, {0444, 0444},
    };
    const mode_t previousMask = ::umask(022);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        QFile::remove(output);
        ASSERT_EQ(::chmod(QFile::encodeName(source).constData(), c.source), 0);
        // Whatever the encoder makes of its output's mode does not count.
        FileReduction reduction(
            {.encoderPath = Encoder(QStringLiteral(R"(cp "$6" "$7"; chmod 4777 "$7")")),
             .source = source,
             .output = output});
        RunAndWait(reduction, {}, view.window(), 1);
        EXPECT_EQ(reduction.outcome().status, Status::Reduced);
        struct stat status {};
        ASSERT_EQ(::stat(QFile::encodeName(output).constData(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, c.result);
    }
    ::umask(previousMask);
    ::chmod(QFile::encodeName(source).constData(), 0644);
}

TEST_F(StandInTest, FailuresOfTheSystemReadAsSentences) {
    const QString full = Q(dir.file("full"));
    const test::TmpfsMount mount(full, 0);
    if (!mount.mounted()) {
        GTEST_SKIP() << mount.why();
    }
    struct Case {
        const char* name;
        QString output;
        QString reason;
    };
    const Case cases[] = {
        {"the device fills up", full + QStringLiteral("/song.mp3"),
         QStringLiteral("no space left on the device")},
        {"the folder is gone", Q(dir.file("gone/song.mp3")),
         QStringLiteral("could not write in %1: the folder no longer exists")
             .arg(Q(dir.file("gone/")))},
    };
    const QString fill = QStringLiteral("head -c 200000 /dev/zero > \"$7\" || exit 1");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileReduction reduction(
            {.encoderPath = Encoder(fill), .source = source, .output = c.output});
        RunAndWait(reduction, {}, view.window(), 1);
        EXPECT_EQ(reduction.outcome().status, Status::Failed);
        EXPECT_EQ(reduction.outcome().reason, c.reason);
    }
    EXPECT_TRUE(test::EntriesOf(full).isEmpty());
}

TEST_F(StandInTest, EachFailureOnASimpleTargetSaysItsRealCause) {
    const QString stick = Q(dir.file("stick"));
    const test::FuseMount fat(QStringLiteral("vfat"), stick + ".img", stick);
    if (!fat.mounted()) {
        GTEST_SKIP() << fat.why();
    }
    const QString readOnly = Q(dir.file("read-only"));
    const test::TmpfsMount locked(readOnly, MS_RDONLY);
    if (!locked.mounted()) {
        GTEST_SKIP() << locked.why();
    }
    struct Case {
        const char* name;
        QString output;
        const char* body;
        QString reason;
    };
    const Case cases[] = {
        // fusefat tells no size at all: that is no full medium.
        {"the encoder fails", stick + "/song.mp3", R"(echo "Can't init infile" >&2; exit 3)",
         QStringLiteral("Can't init infile")},
        {"a refused name", stick + "/Who?.mp3", R"(cp "$6" "$7")",
         QStringLiteral("the target does not accept the name Who?.mp3")},
        {"a read-only medium", readOnly + "/song.mp3", R"(cp "$6" "$7")",
         QStringLiteral("could not write in %1/: the medium is read-only").arg(readOnly)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileReduction reduction({.encoderPath = Encoder(QString::fromUtf8(c.body)),
                                 .source = source,
                                 .output = c.output});
        RunAndWait(reduction, {}, view.window(), 1);
        EXPECT_EQ(reduction.outcome().status, Status::Failed);
        EXPECT_EQ(reduction.outcome().reason, c.reason);
    }
    EXPECT_TRUE(test::EntriesOf(stick).isEmpty());
}

// Whatever a plan said and whatever leave to replace was given, an output
// that may be the source itself (the same file, or its name but for letter
// case) is refused before anything is made.
// A target that drops a time set on an open file (exfat-fuse drops a
// modification time set alone; fusefat, some versions, gives the file
// another at close): the result is asked again once closed and its time set
// again, and the record that counts holds it.
TEST_F(StandInTest, AResultKeepsItsSourcesTimeWhereTheTargetDroppedIt) {
    constexpr qint64 kTime = 1600000000000;
    ASSERT_TRUE(SetModifiedTime(source, kTime));
    PlacementCalls dropping;
    dropping.time = [](int, const struct timespec*) { return 0; };
    ResultJournals journals;
    FileReduction reduction({.encoderPath = Encoder(R"(cp "$6" "$7")"),
                             .source = source,
                             .output = output,
                             .journals = &journals,
                             .recordRoot = out,
                             .keepTime = true,
                             .placement = &dropping});
    RunAndWait(reduction,
               {.bar = &view, .baseText = QStringLiteral("base"), .startValue = 50, .fileCount = 2},
               view.window(), 1);
    EXPECT_EQ(reduction.outcome().status, Status::Reduced);
    EXPECT_FALSE(reduction.outcome().timeNotKept);
    EXPECT_EQ(QFileInfo(output).lastModified().toMSecsSinceEpoch(), kTime);
    const JournalRecords records = ReadRecords(out);
    ASSERT_EQ(records.records.size(), 1U);
    EXPECT_EQ(records.records[0].record.resultStamp.modifiedMs, kTime);
    EXPECT_TRUE(records.records[0].record.sha256.isEmpty());
}

TEST_F(StandInTest, AResultNeverStartsOnItsOwnSource) {
    const QString upper = Q(dir.file("Loud.MP3"));
    test::WriteBytes(upper, test::HandMadeMp3(5));
    for (const QString& onItself : {source, Q(dir.file("Loud.mp3"))}) {
        SCOPED_TRACE(onItself.toStdString());
        const QString from = onItself == source ? source : upper;
        FileReduction reduction({.encoderPath = Encoder(R"(cp "$6" "$7")"),
                                 .source = from,
                                 .output = onItself,
                                 .replace = Replace::Yes});
        EXPECT_FALSE(reduction.start());
        EXPECT_EQ(reduction.outcome().status, Status::Failed);
        EXPECT_EQ(reduction.outcome().reason, QStringLiteral("would overwrite its source"));
    }
    EXPECT_EQ(test::ReadBytes(upper), test::HandMadeMp3(5));
    EXPECT_EQ(test::EntriesOf(Q(dir.path().string())),
              QStringList({"Loud.MP3", "out", "song.mp3", "temp"}));
}

TEST(StorageIsFull, OnlyASizeWithNothingLeftIsFull) {
    EXPECT_TRUE(StorageIsFull(8 << 20, 0));
    EXPECT_FALSE(StorageIsFull(8 << 20, 1));
    EXPECT_FALSE(StorageIsFull(0, 0));  // a driver that tells no size at all
}

TEST_F(StandInTest, AnOutputNameAtTheFileSystemsLimitGetsItsResult) {
    const QString longest = out + QLatin1Char('/') + QString(251, QLatin1Char('n')) +
                            QStringLiteral(".mp3");  // 255 bytes
    FileReduction reduction({.encoderPath = Encoder(QStringLiteral(R"(cp "$6" "$7")")),
                             .source = source,
                             .output = longest});
    RunAndWait(reduction, {}, view.window(), 1);
    EXPECT_EQ(reduction.outcome().status, Status::Reduced)
        << reduction.outcome().reason.toStdString();
    EXPECT_EQ(test::ReadBytes(longest), test::HandMadeMp3(5));
}

TEST_F(StandInTest, TheEncoderGetsItsArgumentsAsAListAndWritesATemporaryFileBesideTheOutput) {
    const QString odd = Q(dir.file("it's a \"song\" $(x) `y`.mp3"));
    test::WriteBytes(odd, test::HandMadeMp3(7));
    const QString args = Marker("args");
    FileReduction reduction(
        {.encoderPath = Encoder(QStringLiteral("printf '%s\\n' \"$@\" > ") +
                                test::ShellQuoted(args) + QStringLiteral("; cp \"$6\" \"$7\"")),
         .kbps = 96,
         .source = odd,
         .output = output});
    RunAndWait(reduction, {}, view.window(), 1);
    ASSERT_EQ(reduction.outcome().status, Status::Reduced);
    const QStringList received = QString::fromUtf8(test::ReadBytes(args)).split(QLatin1Char('\n'));
    ASSERT_EQ(received.size(), 8);  // seven lines and the empty text after the last break
    EXPECT_EQ(received.mid(0, 6), QStringList({"-h", "-m", "s", "-b", "96", odd}));
    const QFileInfo temporary(received[6]);
    EXPECT_EQ(temporary.absolutePath(), QFileInfo(out).absoluteFilePath());
    EXPECT_TRUE(IsTemporaryResultName(temporary.fileName())) << temporary.fileName().toStdString();
    EXPECT_TRUE(temporary.fileName().startsWith(QLatin1Char('.')));
    EXPECT_FALSE(temporary.fileName().endsWith(QStringLiteral(".mp3")));
    EXPECT_FALSE(temporary.exists());
    EXPECT_EQ(reduction.command().arguments.last(), received[6]);
    EXPECT_EQ(test::ReadBytes(output), test::HandMadeMp3(7));
}

TEST_F(StandInTest, AnEncoderThatCannotStartReturnsTheStartFailureCodeAndLeavesTheBarAlone) {
    const QString notRunnable = Q(dir.file("not-runnable"));
    test::WriteBytes(notRunnable, "#!/bin/sh\n");
    for (const QString& encoder : {Q(dir.file("missing/lame")), notRunnable, QString()}) {
        SCOPED_TRACE(encoder.toStdString());
        test::WriteBytes(output, kOldResult);
        FileReduction reduction(
            {.encoderPath = encoder, .source = source, .output = output, .replace = Replace::Yes});
        EXPECT_EQ(RunAndWait(reduction,
                             {.bar = &view,
                              .baseText = QStringLiteral("base"),
                              .startValue = 50,
                              .fileCount = 2},
                             view.window(), 1),
                  kStartFailureCode);
        EXPECT_EQ(reduction.outcome().reason, QStringLiteral("could not start the encoder"));
        EXPECT_TRUE(view.values.empty());
        EXPECT_TRUE(view.texts.empty());
        EXPECT_EQ(test::ReadBytes(output), kOldResult);
        EXPECT_EQ(test::EntriesOf(out), QStringList{QStringLiteral("song.mp3")});
    }
}

// The encoder waits until the test lets it go, after a chosen number of the
// runner's polls: what the bar shows depends on polls alone.
class LongRunTest : public StandInTest {
  protected:
    QString WaitingEncoder() {
        return Encoder(QStringLiteral("i=0; while [ ! -e %1 ] && [ $i -lt 3000 ]; do "
                                      "sleep 0.01; i=$((i+1)); done; cp \"$6\" \"$7\"")
                           .arg(test::ShellQuoted(Marker("go"))));
    }
    void ReleaseAfter(int polls) {
        view.layer().onYield([this, polls] {
            if (view.layer().yieldCount() == polls) {
                test::WriteBytes(Marker("go"), "go");
            }
        });
    }
};

TEST_F(LongRunTest, CaptionCountsAndBarCreepsAfterFiftyPolls) {
    struct Case {
        QString base;
        qint32 start;
        qint32 files;
        std::vector<int> values;  // at polls 50, 200 and 350
    };
    const Case cases[] = {
        {QStringLiteral("Processing: a.mp3"), 25, 4, {25, 27, 29}},
        {QStringLiteral("Processing: a.mp3"), 100, 1, {100, 100, 100}},  // 110 and 120 shown as 100
        {QString(), 33, 3, {33, 36, 39}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        QFile::remove(Marker("go"));
        QFile::remove(output);
        view.values.clear();
        view.texts.clear();
        view.layer().clearRecord();
        ReleaseAfter(400);
        FileReduction reduction(
            {.encoderPath = WaitingEncoder(), .source = source, .output = output});
        EXPECT_EQ(
            RunAndWait(
                reduction,
                {.bar = &view, .baseText = c.base, .startValue = c.start, .fileCount = c.files},
                view.window(), 1),
            0);
        ASSERT_GE(view.texts.size(), 352u);
        for (int poll = 50; poll <= 400; ++poll) {
            ASSERT_EQ(view.texts[static_cast<std::size_t>(poll - 50)], WaitCaption(c.base, poll));
        }
        EXPECT_EQ(view.texts.back(), CaptionAfterRun(c.base));
        ASSERT_GE(view.values.size(), 3u);
        EXPECT_EQ(std::vector<int>(view.values.begin(), view.values.begin() + 3), c.values);
        EXPECT_EQ(reduction.outcome().status, Status::Reduced);
    }
}

TEST_F(LongRunTest, AShortRunOnlySetsTheCaptionBack) {
    ReleaseAfter(5);
    FileReduction reduction({.encoderPath = WaitingEncoder(), .source = source, .output = output});
    RunAndWait(reduction,
               {.bar = &view,
                .baseText = QStringLiteral("Processing: a.mp3"),
                .startValue = 50,
                .fileCount = 2},
               view.window(), 50);
    EXPECT_EQ(view.texts, std::vector<QString>{QStringLiteral("Processing: a.mp3")});
    EXPECT_TRUE(view.values.empty());
}

// A bar that refuses its caption: the failure comes out only when the encoder
// has ended, and the result is kept.
class FailingBar : public test::FakeJobView {
  public:
    void setProgressText(const QString& text) override {
        if (text.contains(QStringLiteral("Please wait"))) {
            throw Failure(QStringLiteral("caption refused"));
        }
        FakeJobView::setProgressText(text);
    }
};

TEST_F(LongRunTest, AFailingBarDoesNotEndTheWait) {
    FailingBar bar;
    bar.layer().onYield([&] {
        if (bar.layer().yieldCount() == 100) {
            test::WriteBytes(Marker("go"), "go");
        }
    });
    FileReduction reduction({.encoderPath = WaitingEncoder(), .source = source, .output = output});
    EXPECT_THROW(
        RunAndWait(reduction,
                   {.bar = &bar, .baseText = QStringLiteral("b"), .startValue = 50, .fileCount = 2},
                   bar.window(), 1),
        Failure);
    EXPECT_GE(bar.layer().yieldCount(), 100);
    EXPECT_EQ(reduction.outcome().status, Status::Reduced);
    EXPECT_EQ(bar.texts.back(), QStringLiteral("b"));
}

TEST_F(LongRunTest, AbortStopsTheEncoderAndRemovesItsTemporaryFile) {
    test::WriteBytes(output, kOldResult);
    FileReduction reduction(
        {.encoderPath = Encoder(QStringLiteral("touch %1; i=0; while [ $i -lt 3000 ]; do "
                                               "sleep 0.01; i=$((i+1)); done; cp \"$6\" \"$7\"")
                                    .arg(test::ShellQuoted(Marker("started")))),
         .source = source,
         .output = output,
         .replace = Replace::Yes});
    view.layer().onYield([&] {
        if (QFileInfo::exists(Marker("started"))) {
            reduction.abort();
        }
    });
    RunAndWait(reduction,
               {.bar = &view, .baseText = QStringLiteral("b"), .startValue = 50, .fileCount = 2},
               view.window(), 1);
    EXPECT_EQ(reduction.outcome().status, Status::Interrupted);
    EXPECT_EQ(test::ReadBytes(output), kOldResult);
    EXPECT_EQ(test::EntriesOf(out), QStringList{QStringLiteral("song.mp3")});
}

TEST_F(StandInTest, ABatchRunsEveryRequestAndReportsEachOnce) {
    const QString copy = Encoder(QStringLiteral(R"(cp "$6" "$7")"));
    std::vector<ReductionRequest> requests;
    for (int i = 0; i < 6; ++i) {
        const QString s = Q(dir.file("s" + std::to_string(i) + ".mp3"));
        test::WriteBytes(s, test::HandMadeMp3(3 + i));
        requests.push_back({.encoderPath = i == 2 ? Q(dir.file("no-encoder")) : copy,
                            .source = s,
                            .output = out + QStringLiteral("/r%1.mp3").arg(i)});
    }
    std::vector<int> reported(requests.size(), 0);
    RunReductions(requests, 2, [&](std::size_t index, const ReductionOutcome& outcome) {
        ++reported[index];
        EXPECT_EQ(outcome.status, index == 2 ? Status::Failed : Status::Reduced) << index;
    });
    EXPECT_EQ(reported, std::vector<int>(requests.size(), 1));
    for (std::size_t i = 0; i < requests.size(); ++i) {
        if (i != 2) {
            EXPECT_EQ(test::ReadBytes(requests[i].output), test::ReadBytes(requests[i].source));
        }
    }
    EXPECT_EQ(test::EntriesOf(out).size(), requests.size() - 1);
}

TEST_F(StandInTest, NoRequestOfABatchStartsOnceTheUserAskedToStop) {
    const QString copy = Encoder(QStringLiteral(R"(cp "$6" "$7")"));
    bool stop = false;
    std::vector<ReductionRequest> requests(4, {.encoderPath = copy, .source = source});
    for (std::size_t i = 0; i < requests.size(); ++i) {
        requests[i].output = out + QStringLiteral("/r%1.mp3").arg(i);
        requests[i].stopRequested = [&stop] { return stop; };
    }
    std::vector<std::size_t> reported;
    RunReductions(requests, 2, [&](std::size_t index, const ReductionOutcome&) {
        reported.push_back(index);
        stop = true;
    });
    EXPECT_EQ(reported.size(), 2u);  // the two that were running
    EXPECT_EQ(test::EntriesOf(out).size(), 2);
}

}  // namespace
}  // namespace mirelune

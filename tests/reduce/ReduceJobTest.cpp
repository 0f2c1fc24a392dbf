// SPDX-License-Identifier: GPL-3.0-or-later
// The window's job, driven through a fake window, with a script standing in
// for the encoder.
#include "reduce/ReduceJob.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <memory>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include "reduce/DoneMessage.h"
#include "reduce/EncoderResource.h"
#include "reduce/LargerResults.h"
#include "shell/ErrorLocations.h"
#include "shell/ErrorReport.h"
#include "support/FuseMount.h"
#include "support/ReduceTestSupport.h"

namespace mirelune {
namespace {

using test::Box;
using test::Plain;
using test::Q;

class ReduceJobTest : public ::testing::Test {
  protected:
    void SetUp() override {
        temp = Q(dir.file("temp"));
        music = Q(dir.file("music"));
        out = Q(dir.file("out"));
        for (const QString& folder : {temp, music, out}) {
            ASSERT_TRUE(QDir().mkpath(folder));
        }
        env = std::make_unique<test::ScopedEnv>("TEMP", temp.toLocal8Bit());
        view.layer().setApplicationTitle(QStringLiteral("Mirelune"));
        view.options().outputFolder = out + QLatin1Char('/');
        // Records each run's source and program path, then copies the source.
        UseEncoder(QStringLiteral("printf '%s %s\\n' \"$0\" \"$6\" >> ") +
                   test::ShellQuoted(Marker("runs")) + QStringLiteral("; cp \"$6\" \"$7\""));
    }

    void UseEncoder(const QString& body) {
        standIn.reset();  // overrides end in the reverse order of their start
        standIn = std::make_unique<EncoderBytesOverride>(test::StandIn(body));
    }

    QString Marker(const char* name) const { return Q(dir.file(name)); }

    QString Source(const QString& name, int frames) {
        const QString path = music + QLatin1Char('/') + name;
        test::WriteBytes(path, test::HandMadeMp3(frames));
        return path;
    }

    // The sources the encoder was run on, in order.
    QStringList Runs() const {
        QStringList sources;
        const QString log = QString::fromUtf8(test::ReadBytes(Marker("runs")));
        for (const QString& line : log.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            sources.append(line.section(QLatin1Char(' '), 1));
        }
        return sources;
    }

    test::ScratchDir dir;
    std::unique_ptr<test::ScopedEnv> env;
    std::unique_ptr<EncoderBytesOverride> standIn;
    QString temp;
    QString music;
    QString out;
    test::FakeJobView view;
    ReduceJob job;
};

TEST_F(ReduceJobTest, RowsAreReducedInOrderWithTheBarAndCaption) {
    view.rows = {Source(QStringLiteral("a.mp3"), 3), Source(QStringLiteral("b.mp3"), 4),
                 Source(QStringLiteral("c.wav"), 5)};
    job.run(view);
    EXPECT_EQ(view.layer().boxes(), std::vector<Box>{Plain(QStringLiteral("Done."))});
    EXPECT_EQ(Runs(), QStringList(view.rows.begin(), view.rows.end()));
    EXPECT_EQ(view.values, (std::vector<int>{33, 66, 100, 0}));
    EXPECT_EQ(view.texts,
              (std::vector<QString>{"Processing: a.mp3", "Processing: a.mp3", "Processing: b.mp3",
                                    "Processing: b.mp3", "Processing: c.wav", "Processing: c.wav",
                                    "Progress Bar"}));
    EXPECT_EQ(view.pointers, (std::vector<bool>{true, true, true, true, false}));
    EXPECT_EQ(test::EntriesOf(out), QStringList({"a.mp3", "b.mp3", "c.mp3"}));
    EXPECT_EQ(test::ReadBytes(out + QStringLiteral("/c.mp3")), test::HandMadeMp3(5));
    EXPECT_FALSE(job.isBusy());

    // The command as text, with the private encoder path the script saw.
    const QString program =
        QString::fromUtf8(test::ReadBytes(Marker("runs"))).section(QLatin1Char(' '), 0, 0);
    ASSERT_EQ(job.commandLines().size(), 3);
    EXPECT_EQ(job.commandLines()[0], program + QStringLiteral(" -h -m s -b 128 ") + view.rows[0] +
                                         QLatin1Char(' ') + out + QStringLiteral("/a.mp3"));
    // The private folder was inside TEMP, and it is gone.
    EXPECT_EQ(QFileInfo(QFileInfo(program).absolutePath()).absolutePath(),
              QFileInfo(temp).absoluteFilePath());
    EXPECT_EQ(QFileInfo(program).fileName(), QStringLiteral("lame"));
    EXPECT_TRUE(test::EntriesOf(temp).isEmpty());
}

TEST_F(ReduceJobTest, PreconditionsStopTheJobBeforeAnythingRuns) {
    struct Case {
        const char* name;
        bool withRows;
        bool option1;
        bool option2;
        QString folder;
        QString message;
    };
    const QString missing = Q(dir.file("gone"));
    const QString noFolder = QStringLiteral("Folder does not exist. Please select another folder.");
    const Case cases[] = {
        {"empty list", false, true, false, out, QStringLiteral("No files added.")},
        {"missing folder, option 1", true, true, false, missing, noFolder},
        {"missing folder, option 2", true, false, true, missing, noFolder},
        {"empty folder text", true, false, true, QString(), noFolder},
        {"folder text names a file", true, true, false, Q(dir.file("music/x.mp3")), noFolder},
        {"neither option", true, false, false, out, ChooseOutputMessage()},
    };
    const QString row = Source(QStringLiteral("x.mp3"), 3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view.layer().clearRecord();
        view.pointers.clear();
        view.rows = c.withRows ? std::vector<QString>{row} : std::vector<QString>{};
        view.options().option1 = c.option1;
        view.options().option2 = c.option2;
        view.options().outputFolder = c.folder;
        job.run(view);
        EXPECT_EQ(view.layer().boxes(), std::vector<Box>{Plain(c.message)});
        EXPECT_TRUE(view.pointers.empty());
        EXPECT_FALSE(job.isBusy());
    }
    EXPECT_TRUE(Runs().isEmpty());
    EXPECT_TRUE(test::EntriesOf(out).isEmpty());
    EXPECT_TRUE(test::EntriesOf(temp).isEmpty());
}

TEST_F(ReduceJobTest, ASecondStartDuringAJobDoesNothing) {
    view.rows = {Source(QStringLiteral("a.mp3"), 3), Source(QStringLiteral("b.mp3"), 4)};
    int secondStarts = 0;
    view.layer().onYield([&] {
        if (secondStarts++ == 0) {
            EXPECT_TRUE(job.isBusy());
            job.run(view);
        }
    });
    job.run(view);
    EXPECT_EQ(view.layer().boxes(), std::vector<Box>{Plain(QStringLiteral("Done."))});
    EXPECT_EQ(Runs().size(), 2);
}

TEST_F(ReduceJobTest, FailedRowsAreReportedAfterDoneAndLeaveNoFileBehind) {
    UseEncoder(QStringLiteral(R"(case "$6" in
        *bad.mp3) echo "Can't init infile" >&2; exit 3 ;;
        *garbage.mp3) echo garbage > "$7" ;;
        *) cp "$6" "$7" ;;
    esac)"));
    view.rows = {Source(QStringLiteral("bad.mp3"), 3), Source(QStringLiteral("good.mp3"), 4),
                 Source(QStringLiteral("garbage.mp3"), 5)};
    test::WriteBytes(out + QStringLiteral("/bad.mp3"), "earlier result");
    view.layer().queueAnswer(MessageAnswer::Yes);  // the earlier result may go
    job.run(view);
    ASSERT_EQ(view.layer().boxes().size(), 2u);
    EXPECT_EQ(view.layer().boxes()[1].text,
              QStringLiteral("Done.\n\n2 files failed:\n"
                             "bad.mp3: Can't init infile\n"
                             "garbage.mp3: result not a valid MP3 file"));
    EXPECT_EQ(test::EntriesOf(out), QStringList({"bad.mp3", "good.mp3"}));
    EXPECT_EQ(test::ReadBytes(out + QStringLiteral("/bad.mp3")), "earlier result");
    EXPECT_TRUE(test::EntriesOf(temp).isEmpty());
}

TEST_F(ReduceJobTest, ManyFailuresAreCountedAndTheFirstTwentyNamed) {
    UseEncoder(QStringLiteral("exit 1"));
    for (int i = 1; i <= 23; ++i) {
        view.rows.push_back(Source(QStringLiteral("f%1.mp3").arg(i), 3));
    }
    job.run(view);
    const QStringList lines = view.layer().boxes().at(0).text.split(QLatin1Char('\n'));
    EXPECT_EQ(lines[0], QStringLiteral("Done."));
    EXPECT_EQ(lines[2], QStringLiteral("23 files failed:"));
    EXPECT_EQ(lines[3], QStringLiteral("f1.mp3: the encoder failed with exit code 1"));
    EXPECT_EQ(lines.size(), 3 + 20 + 1);
    EXPECT_EQ(lines.last(), QStringLiteral("and 3 more"));
}

TEST_F(ReduceJobTest, ABadBitrateEntryIsReportedAtItsStepAndNothingRuns) {
    view.rows = {Source(QStringLiteral("a.mp3"), 3)};
    view.options().entryText = QString();
    job.run(view);
    const std::vector<Box>& boxes = view.layer().boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].title, QStringLiteral("Application Error"));
    EXPECT_TRUE(boxes[0].text.contains(QString::fromUtf8(location::kPushButton2Click) +
                                       QStringLiteral("at line 146")));
    EXPECT_EQ(boxes[1],
              Plain(QStringLiteral("Done.\n\n1 file failed:\na.mp3: no target bitrate chosen")));
    EXPECT_TRUE(Runs().isEmpty());
}

TEST_F(ReduceJobTest, ARowThatCannotBeReadIsReportedAndNotRunWithAnotherRowsValues) {
    view.rows = {Source(QStringLiteral("a.mp3"), 3), Source(QStringLiteral("b.mp3"), 4)};
    // The list loses its last row while the job yields on the first.
    view.layer().onYield([&] {
        if (view.rows.size() == 2) {
            view.rows.pop_back();
        }
    });
    job.run(view);
    const std::vector<Box>& boxes = view.layer().boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("at line 118")));
    EXPECT_EQ(boxes[1].text,
              QStringLiteral("Done.\n\n1 file failed:\nrow 2: the list row could not be read"));
    EXPECT_EQ(Runs().size(), 1);
}

TEST_F(ReduceJobTest, TheOptionsTheJobStartedWithServeEveryRowAndCannotBeChangedMeanwhile) {
    const QString other = Q(dir.file("other"));
    ASSERT_TRUE(QDir().mkpath(other));
    view.rows = {Source(QStringLiteral("a.mp3"), 3), Source(QStringLiteral("b.mp3"), 4)};
    view.layer().onYield([&] {
        view.options() = {QStringLiteral("Reduce to 64 kbps"), false, true, other};
    });
    job.run(view);
    EXPECT_EQ(test::EntriesOf(out), QStringList({"a.mp3", "b.mp3"}));
    EXPECT_TRUE(test::EntriesOf(other).isEmpty());
    ASSERT_EQ(job.commandLines().size(), 2);
    for (const QString& line : job.commandLines()) {
        EXPECT_TRUE(line.contains(QStringLiteral(" -b 128 "))) << line.toStdString();
    }
    EXPECT_EQ(view.optionsEnabled, (std::vector<bool>{false, true}));
}

TEST_F(ReduceJobTest, ADifferentSourceNeverReplacesAResultOfTheSameJob) {
    const QString other = Q(dir.file("other"));
    ASSERT_TRUE(QDir().mkpath(other));
    const QString first = Source(QStringLiteral("song.mp3"), 3);
    const QString second = other + QStringLiteral("/song.mp3");
    test::WriteBytes(second, test::HandMadeMp3(4));
    const QString third = Source(QStringLiteral("song.wav"), 5);
    view.rows = {first, second, first, third};
    job.run(view);
    EXPECT_EQ(view.layer().boxes(), std::vector<Box>{Plain(QStringLiteral("Done."))});
    EXPECT_EQ(Runs().size(), 4);
    EXPECT_EQ(test::EntriesOf(out), QStringList({"song (2).mp3", "song (3).mp3", "song.mp3"}));
    EXPECT_EQ(test::ReadBytes(out + QStringLiteral("/song.mp3")), test::HandMadeMp3(3));
    EXPECT_EQ(test::ReadBytes(out + QStringLiteral("/song (2).mp3")), test::HandMadeMp3(4));
    EXPECT_EQ(test::ReadBytes(out + QStringLiteral("/song (3).mp3")), test::HandMadeMp3(5));
}

TEST_F(ReduceJobTest, ASourceIsNeverWrittenWhateverItsAlias) {
    const QString source = Source(QStringLiteral("song.mp3"), 3);
    ASSERT_TRUE(QFile::link(music, Q(dir.file("linked"))));
    struct Case {
        const char* name;
        bool option1;
        QString folder;
        QString expected;  // the output, relative to the music folder
    };
    const Case cases[] = {
        {"beside the source", false, out, QStringLiteral("song-reduced.mp3")},
        {"the source's folder", true, music, QStringLiteral("song-reduced.mp3")},
        {"spelled with a dot", true, music + QStringLiteral("/./"),
         QStringLiteral("song-reduced.mp3")},
        {"through a link", true, Q(dir.file("linked")), QStringLiteral("song-reduced.mp3")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(music + QStringLiteral("/song-reduced.mp3"));
        view.layer().clearRecord();
        view.rows = {source};
        view.options().option1 = c.option1;
        view.options().option2 = !c.option1;
        view.options().outputFolder = c.folder;
        job.run(view);
        EXPECT_EQ(view.layer().boxes(), std::vector<Box>{Plain(QStringLiteral("Done."))});
        EXPECT_EQ(test::EntriesOf(music), QStringList({c.expected, QStringLiteral("song.mp3")}));
        EXPECT_EQ(test::ReadBytes(source), test::HandMadeMp3(3));
    }
}

// On a FAT stick "Loud.mp3" is "Loud.MP3" itself: the question counts only
// the earlier result that is really there, and Yes replaces that one.
TEST_F(ReduceJobTest, OnACaseBlindStickYesNeverReplacesTheOriginal) {
    const QString stick = Q(dir.file("stick"));
    const test::FuseMount mount(QStringLiteral("vfat"), stick + ".img", stick);
    if (!mount.mounted()) {
        GTEST_SKIP() << mount.why();
    }
    const QString source = stick + QStringLiteral("/Loud.MP3");
    test::WriteBytes(source, test::HandMadeMp3(3));
    test::WriteBytes(stick + QStringLiteral("/Loud-reduced.mp3"), "kept");
    view.rows = {source};
    view.options().option1 = false;
    view.options().option2 = true;
    view.layer().queueAnswer(MessageAnswer::Yes);
    job.run(view);
    EXPECT_EQ(view.layer().boxes(),
              std::vector<Box>({{QStringLiteral("Mirelune"),
                                 QStringLiteral("1 result would replace a file that already "
                                                "exists beside its original. Replace it?"),
                                 MessageButtons::YesNoCancel, MessageIcon::None},
                                Plain(QStringLiteral("Done."))}));
    EXPECT_EQ(test::ReadBytes(source), test::HandMadeMp3(3));
    EXPECT_EQ(test::ReadBytes(stick + QStringLiteral("/Loud-reduced.mp3")), test::HandMadeMp3(3));
    EXPECT_EQ(test::EntriesOf(stick), QStringList({"Loud-reduced.mp3", "Loud.MP3"}));
}

TEST_F(ReduceJobTest, ARowFailsWhenEvenTheReducedNameIsItsSource) {
    const QString source = Source(QStringLiteral("song.mp3"), 3);
    ASSERT_TRUE(QFile::link(source, music + QStringLiteral("/song-reduced.mp3")));
    view.rows = {source};
    view.options().option1 = false;
    view.options().option2 = true;
    job.run(view);
    EXPECT_EQ(view.layer().boxes(),
              std::vector<Box>{Plain(QStringLiteral("Done.\n\n1 file failed:\nsong.mp3: would "
                                                    "overwrite its source"))});
    EXPECT_TRUE(Runs().isEmpty());
    EXPECT_EQ(test::ReadBytes(source), test::HandMadeMp3(3));
}

TEST_F(ReduceJobTest, AFilePlantedAtAPredictablePathIsNeverRun) {
    const QString planted = temp + QStringLiteral("/lame");
    test::WriteBytes(planted, test::StandIn(QStringLiteral("touch ") +
                                            test::ShellQuoted(Marker("planted-ran"))));
    QFile::setPermissions(planted, QFile::permissions(planted) | QFileDevice::ExeOwner);
    view.rows = {Source(QStringLiteral("a.mp3"), 3)};
    job.run(view);
    EXPECT_EQ(Runs().size(), 1);
    EXPECT_FALSE(QFileInfo::exists(Marker("planted-ran")));
    EXPECT_EQ(test::EntriesOf(temp), QStringList{QStringLiteral("lame")});
}

// One question before anything is written or run, and each answer kept.
TEST_F(ReduceJobTest, ResultsThatWouldReplaceFilesAskOnceAndFollowTheAnswer) {
    struct Case {
        MessageAnswer answer;
        QStringList runs;   // the rows' file names, in order
        QByteArray keptAt;  // what out/a.mp3 holds afterwards; empty: a's result
        QString done;       // empty: no closing message
    };
    const Case cases[] = {
        {MessageAnswer::Yes, {"a.mp3", "b.mp3"}, {}, QStringLiteral("Done.")},
        {MessageAnswer::No,
         {"b.mp3"},
         "kept",
         QStringLiteral("Done.\n\n1 file skipped:\na.mp3: exists")},
        {MessageAnswer::Cancel, {}, "kept", QString()},
    };
    const QString a = Source(QStringLiteral("a.mp3"), 3);
    const QString b = Source(QStringLiteral("b.mp3"), 4);
    const Box question{QStringLiteral("Mirelune"),
                       QStringLiteral("1 result would replace a file that already exists "
                                      "in the output folder. Replace it?"),
                       MessageButtons::YesNoCancel, MessageIcon::None};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        QFile::remove(Marker("runs"));
        QFile::remove(out + QStringLiteral("/b.mp3"));
        test::WriteBytes(out + QStringLiteral("/a.mp3"), "kept");
        view.layer().clearRecord();
        view.values.clear();
        view.rows = {a, b};
        view.layer().queueAnswer(c.answer);
        job.run(view);

        std::vector<Box> boxes{question};
        if (!c.done.isEmpty()) {
            boxes.push_back(Plain(c.done));
        }
        EXPECT_EQ(view.layer().boxes(), boxes);
        QStringList ran;
        for (const QString& run : Runs()) {
            ran.append(QFileInfo(run).fileName());
        }
        EXPECT_EQ(ran, c.runs);
        EXPECT_EQ(test::ReadBytes(out + QStringLiteral("/a.mp3")),
                  c.keptAt.isEmpty() ? test::HandMadeMp3(3) : c.keptAt);
        EXPECT_EQ(QFileInfo::exists(out + QStringLiteral("/b.mp3")), !c.runs.isEmpty());
        EXPECT_TRUE(test::EntriesOf(temp).isEmpty());
        EXPECT_FALSE(job.isBusy());
        EXPECT_EQ(view.pointers.back(), false);
    }
    // Cancel ended the job before the bar moved.
    EXPECT_TRUE(view.values.empty());
}

// Whether anything in folder was made, removed or moved since the watch began.
bool ChangedSince(int watch) {
    char buffer[4096];
    return ::read(watch, buffer, sizeof buffer) > 0;
}

struct timespec ModifiedAt(const QString& folder) {
    struct stat status {};
    EXPECT_EQ(::stat(QFile::encodeName(folder).constData(), &status), 0);
    return status.st_mtim;
}

// Before the answer the plan judges names without trying them, so Cancel
// leaves the output folder as it was, its time to the nanosecond, also on a
// stick whose names are learnt by trying; after Yes the names are the ones
// the stick takes (fusefat takes no "é").
TEST_F(ReduceJobTest, NothingIsWrittenBeforeTheAnswerAndTheStickNamesTheResultsAfterIt) {
    const QString stick = Q(dir.file("stick"));
    const test::FuseMount mount(QStringLiteral("vfat"), stick + ".img", stick);
    const QString a = Source(QStringLiteral("a.mp3"), 3);
    const QString cafe = Source(QString::fromUtf8("Caf\xC3\xA9.mp3"), 4);
    const Box question{QStringLiteral("Mirelune"),
                       QStringLiteral("1 result would replace a file that already exists "
                                      "in the output folder. Replace it?"),
                       MessageButtons::YesNoCancel, MessageIcon::None};
    const struct {
        bool onStick;
        MessageAnswer answer;
        QStringList entries;
        std::vector<Box> boxes;
    } cases[] = {
        {false, MessageAnswer::Cancel, {"a.mp3"}, {question}},
        {true, MessageAnswer::Cancel, {"a.mp3"}, {question}},
        {true,
         MessageAnswer::Yes,
         {"Cafe.mp3", "a.mp3"},
         {question, Plain(QString::fromUtf8("Done.\n\n1 file renamed for the target:\n"
                                            "Caf\xC3\xA9.mp3: saved as Cafe.mp3"))}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        if (c.onStick && !mount.mounted()) {
            continue;
        }
        const QString folder = c.onStick ? stick : out;
        test::WriteBytes(folder + QStringLiteral("/a.mp3"), "kept");
        view.options().outputFolder = folder + QLatin1Char('/');
        view.layer().clearRecord();
        view.rows = {a, cafe};
        view.layer().queueAnswer(c.answer);
        const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ASSERT_GE(watch, 0);
        ASSERT_GE(::inotify_add_watch(watch, QFile::encodeName(folder).constData(),
                                      IN_CREATE | IN_DELETE | IN_MOVED_TO | IN_MOVED_FROM),
                  0);
        const struct timespec before = ModifiedAt(folder);
        job.run(view);
        const struct timespec after = ModifiedAt(folder);
        const bool changed = ChangedSince(watch);
        ::close(watch);

        EXPECT_EQ(view.layer().boxes(), c.boxes);
        EXPECT_EQ(test::EntriesOf(folder), c.entries);
        if (c.answer == MessageAnswer::Cancel) {
            EXPECT_FALSE(changed);
            EXPECT_EQ(after.tv_sec, before.tv_sec);
            EXPECT_EQ(after.tv_nsec, before.tv_nsec);
        }
    }
    if (!mount.mounted()) {
        GTEST_SKIP() << mount.why();
    }
}

// Two rows of one name into a folder that holds the user's file of that
// name: one would replace it, the other's name is free. No skips only the
// first, and its second listing; Yes replaces it (twice).
TEST_F(ReduceJobTest, NoSkipsExactlyTheRowsThatWouldReplace) {
    QDir().mkpath(music + QStringLiteral("/A"));
    QDir().mkpath(music + QStringLiteral("/B"));
    const QString a = Source(QStringLiteral("A/Track 1.mp3"), 3);
    const QString b = Source(QStringLiteral("B/Track 1.mp3"), 4);
    const QString mine = out + QStringLiteral("/Track 1.mp3");
    const QString numbered = out + QStringLiteral("/Track 1 (2).mp3");
    const struct {
        MessageAnswer answer;
        QStringList runs;
        QByteArray mine;
        QString done;
    } cases[] = {
        {MessageAnswer::No,
         {b},
         "mine",
         QStringLiteral("Done.\n\n2 files skipped:\nA/Track 1.mp3: exists\nA/Track 1.mp3: exists")},
        {MessageAnswer::Yes, {a, b, a}, test::HandMadeMp3(3), QStringLiteral("Done.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        QFile::remove(Marker("runs"));
        QFile::remove(numbered);
        test::WriteBytes(mine, "mine");
        view.layer().clearRecord();
        view.rows = {a, b, a};
        view.layer().queueAnswer(c.answer);
        job.run(view);

        EXPECT_EQ(view.layer().boxes(),
                  (std::vector<Box>{{QStringLiteral("Mirelune"),
                                     QStringLiteral("1 result would replace a file that already "
                                                    "exists in the output folder. Replace it?"),
                                     MessageButtons::YesNoCancel, MessageIcon::None},
                                    Plain(c.done)}));
        EXPECT_EQ(Runs(), c.runs);
        EXPECT_EQ(test::ReadBytes(mine), c.mine);
        EXPECT_EQ(test::ReadBytes(numbered), test::HandMadeMp3(4));
    }
}

// Two albums' x.mp3 are told apart by their folders; a result that came out
// larger than its source is named with both sizes.
TEST_F(ReduceJobTest, DoneNamesRowsByTheirPathsAndResultsLargerThanTheirSources) {
    UseEncoder(QStringLiteral(R"(cat "$6" "$6" > "$7")"));
    QDir().mkpath(music + QStringLiteral("/A"));
    QDir().mkpath(music + QStringLiteral("/B"));
    const QString a = Source(QStringLiteral("A/x.mp3"), 3);
    const QString b = Source(QStringLiteral("B/x.mp3"), 3);
    test::WriteBytes(music + QStringLiteral("/B/x-reduced.mp3"), "kept");
    view.options().option1 = false;
    view.options().option2 = true;
    view.rows = {a, b};
    view.layer().queueAnswer(MessageAnswer::No);
    job.run(view);

    const qint64 size = QFileInfo(a).size();
    EXPECT_EQ(view.layer().boxes(),
              (std::vector<Box>{
                  {QStringLiteral("Mirelune"),
                   QStringLiteral("1 result would replace a file that already exists beside its "
                                  "original. Replace it?"),
                   MessageButtons::YesNoCancel, MessageIcon::None},
                  Plain(QStringLiteral("Done.\n\n1 file skipped:\nB/x.mp3: exists\n\n1 result "
                                       "larger than the original:\nA/x.mp3: ") +
                        SizeChange(QLocale::c(), size, 2 * size))}));
}

TEST_F(ReduceJobTest, AFileThatTurnsUpDuringTheJobIsNeverReplacedUnasked) {
    // b.mp3's output appears while its encoder runs, c.mp3's just before its
    // turn; nothing was there when the job began, so nothing was asked.
    UseEncoder(QStringLiteral(R"(case "$6" in *b.mp3) echo planted > %1 ;; esac; cp "$6" "$7")")
                   .arg(test::ShellQuoted(out + QStringLiteral("/b.mp3"))));
    view.rows = {Source(QStringLiteral("a.mp3"), 3), Source(QStringLiteral("b.mp3"), 4),
                 Source(QStringLiteral("c.mp3"), 5)};
    view.layer().onYield([&] {
        if (view.progressText() == QStringLiteral("Processing: c.mp3")) {
            test::WriteBytes(out + QStringLiteral("/c.mp3"), "planted\n");
        }
    });
    job.run(view);
    EXPECT_EQ(view.layer().boxes(),
              std::vector<Box>{Plain(
                  QStringLiteral("Done.\n\n2 files skipped:\nb.mp3: exists\nc.mp3: exists"))});
    EXPECT_EQ(test::ReadBytes(out + QStringLiteral("/a.mp3")), test::HandMadeMp3(3));
    EXPECT_EQ(test::ReadBytes(out + QStringLiteral("/b.mp3")), "planted\n");
    EXPECT_EQ(test::ReadBytes(out + QStringLiteral("/c.mp3")), "planted\n");
    EXPECT_EQ(test::EntriesOf(out), QStringList({"a.mp3", "b.mp3", "c.mp3"}));
}

// A moved album keeps its result, whichever row comes first; a new file at
// its old path is a source of its own.
TEST_F(ReduceJobTest, AMovedSourceKeepsItsResultAndANewFileInItsPlaceGetsItsOwn) {
    QDir().mkpath(music + QStringLiteral("/A"));
    const QString old = Source(QStringLiteral("A/song.mp3"), 3);
    view.rows = {old};
    job.run(view);
    ASSERT_EQ(test::ReadBytes(out + QStringLiteral("/song.mp3")), test::HandMadeMp3(3));

    ASSERT_TRUE(QDir().rename(music + QStringLiteral("/A"), music + QStringLiteral("/B")));
    QDir().mkpath(music + QStringLiteral("/A"));
    Source(QStringLiteral("A/song.mp3"), 4);
    QFile::remove(Marker("runs"));
    view.layer().clearRecord();
    view.rows = {old, music + QStringLiteral("/B/song.mp3")};
    view.layer().queueAnswer(MessageAnswer::No);
    job.run(view);
    EXPECT_EQ(
        view.layer().boxes(),
        (std::vector<Box>{{QStringLiteral("Mirelune"),
                           QStringLiteral("1 result would replace a file that already "
                                          "exists in the output folder. Replace it?"),
                           MessageButtons::YesNoCancel, MessageIcon::None},
                          Plain(QStringLiteral("Done.\n\n1 file skipped:\nB/song.mp3: exists"))}));
    EXPECT_EQ(Runs(), QStringList{old});
    EXPECT_EQ(test::ReadBytes(out + QStringLiteral("/song.mp3")), test::HandMadeMp3(3));
    EXPECT_EQ(test::ReadBytes(out + QStringLiteral("/song (2).mp3")), test::HandMadeMp3(4));

    // Recorded under its new path, the moved one is outdated once it changes.
    Source(QStringLiteral("B/song.mp3"), 5);
    QFile::remove(Marker("runs"));
    view.layer().clearRecord();
    view.layer().queueAnswer(MessageAnswer::No);
    job.run(view);
    ASSERT_EQ(view.layer().boxes().size(), 2u);
    EXPECT_EQ(view.layer().boxes()[1],
              Plain(QStringLiteral(
                  "Done.\n\n2 files skipped:\nA/song.mp3: exists\nB/song.mp3: outdated")));
    EXPECT_EQ(Runs(), QStringList());
}

// The job again after an album arrived and a source changed: the result made
// keeps its name, the new source takes the next, and the changed one's
// result is left as it is unless the user lets results be replaced.
TEST_F(ReduceJobTest, AgainAfterTheLibraryChangedResultsKeepTheirSources) {
    QDir().mkpath(music + QStringLiteral("/b"));
    QDir().mkpath(music + QStringLiteral("/a"));
    const QString b = Source(QStringLiteral("b/song.mp3"), 3);
    view.rows = {b};
    job.run(view);
    ASSERT_EQ(test::EntriesOf(out), QStringList({"song.mp3"}));

    const QString a = Source(QStringLiteral("a/song.mp3"), 4);
    Source(QStringLiteral("b/song.mp3"), 5);  // changed since
    view.rows = {a, b};
    view.layer().clearRecord();
    view.layer().queueAnswer(MessageAnswer::No);
    job.run(view);
    ASSERT_EQ(view.layer().boxes().size(), 2u);
    EXPECT_EQ(view.layer().boxes()[0].text.left(2), QStringLiteral("1 "));
    EXPECT_EQ(view.layer().boxes()[1],
              Plain(QStringLiteral("Done.\n\n1 file skipped:\nb/song.mp3: outdated")));
    EXPECT_EQ(Runs(), QStringList({b, a}));
    EXPECT_EQ(test::ReadBytes(out + QStringLiteral("/song.mp3")), test::HandMadeMp3(3));
    EXPECT_EQ(test::ReadBytes(out + QStringLiteral("/song (2).mp3")), test::HandMadeMp3(4));

    // Yes lets results be replaced: the outdated one is made again, in its place.
    view.layer().queueAnswer(MessageAnswer::Yes);
    job.run(view);
    EXPECT_EQ(test::ReadBytes(out + QStringLiteral("/song.mp3")), test::HandMadeMp3(5));
    EXPECT_EQ(test::EntriesOf(out), QStringList({"song (2).mp3", "song.mp3"}));
    // A time every file system keeps as it is given.
    EXPECT_EQ(
        QFileInfo(out + QStringLiteral("/song.mp3")).lastModified().toMSecsSinceEpoch() % 2000, 0);
}

TEST_F(ReduceJobTest, WhatTheEncoderSaidOfASourceItReducedIsNamedAfterDone) {
    UseEncoder(
        QStringLiteral(R"(echo "mirelune-encoder: $6: a tag is left out" >&2; cp "$6" "$7")"));
    view.rows = {Source(QStringLiteral("a.mp3"), 3), Source(QStringLiteral("b.mp3"), 4)};
    job.run(view);
    EXPECT_EQ(view.layer().boxes(),
              (std::vector<Box>{Plain(QStringLiteral("Done.\n\n2 files reduced with a note:\n"
                                                     "a.mp3: a tag is left out\n"
                                                     "b.mp3: a tag is left out"))}));
}

TEST_F(ReduceJobTest, AbortStopsTheEncoderAndCleansUpWithoutAnotherMessage) {
    UseEncoder(QStringLiteral("touch %1; i=0; while [ $i -lt 3000 ]; do sleep 0.01; "
                              "i=$((i+1)); done; cp \"$6\" \"$7\"; touch %2")
                   .arg(test::ShellQuoted(Marker("started")), test::ShellQuoted(Marker("ended"))));
    view.rows = {Source(QStringLiteral("a.mp3"), 3), Source(QStringLiteral("b.mp3"), 4)};
    view.layer().onYield([&] {
        if (QFileInfo::exists(Marker("started"))) {
            job.abort();
        }
    });
    job.run(view);
    EXPECT_TRUE(view.layer().boxes().empty());
    EXPECT_FALSE(job.isBusy());
    EXPECT_TRUE(test::EntriesOf(out).isEmpty());
    EXPECT_TRUE(test::EntriesOf(temp).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(Marker("ended")));
    // In case the window stays after all, it is idle again.
    EXPECT_EQ(view.pointers.back(), false);
    EXPECT_EQ(view.texts.back(), QStringLiteral("Progress Bar"));
    job.abort();  // nothing left to stop
}

}  // namespace
}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/RowPlanner.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "folders/FileStamp.h"
#include "landing/TargetNames.h"
#include "runs/ResultJournal.h"
#include "support/FolderTree.h"
#include "support/ReduceTestSupport.h"

namespace mirelune {
namespace {

// Each row as "index source: action output (reason)", paths below the tree.
std::vector<std::string> Rows(const RowPlans& plans, const QString& root) {
    static const char* const kActions[] = {"reduce", "replace", "skip", "fail"};
    std::vector<std::string> rows;
    for (const RowPlan& row : plans.rows) {
        QString text = QString::number(row.candidate) + ' ' +
                       QDir(root).relativeFilePath(row.source) + ": " +
                       kActions[static_cast<int>(row.action)];
        if (!row.output.isEmpty()) {
            text += ' ' + QDir(root).relativeFilePath(row.output);
        }
        if (!row.reason.isEmpty()) {
            text += " (" + row.reason + ')';
        }
        rows.push_back(text.toStdString());
    }
    return rows;
}

// The window asks before replacing and reduces a source listed twice twice;
// the command line does neither unless told to overwrite.
TEST(PlanRows, AskingAndRepeatedSourcesAreOptionsOfTheirOwn) {
    test::Tree tree;
    const QString a = tree.mp3("A/Track 1.mp3");
    const QString b = tree.mp3("B/Track 1.mp3");
    tree.file("out/Track 1.mp3", {'m', 'i', 'n', 'e'});
    const std::vector<Candidate> candidates{{a, {}}, {b, {}}, {a, {}}};
    const auto anyBitrate = [](const QString&) { return std::optional<qint32>(192000); };
    const struct {
        const char* what;
        bool overwrite;
        bool ask;
        bool repeats;
        std::vector<std::string> rows;
    } cases[] = {
        {"command line",
         false,
         false,
         false,
         {"0 A/Track 1.mp3: skip out/Track 1.mp3 (exists)",
          "1 B/Track 1.mp3: reduce out/Track 1 (2).mp3",
          "2 A/Track 1.mp3: skip (listed more than once)"}},
        {"--overwrite",
         true,
         false,
         false,
         {"0 A/Track 1.mp3: replace out/Track 1.mp3",
          "1 B/Track 1.mp3: replace out/Track 1 (2).mp3",
          "2 A/Track 1.mp3: skip (listed more than once)"}},
        {"window",
         false,
         true,
         true,
         {"0 A/Track 1.mp3: replace out/Track 1.mp3 (exists)",
          "1 B/Track 1.mp3: reduce out/Track 1 (2).mp3",
          "2 A/Track 1.mp3: replace out/Track 1.mp3 (exists)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PlannerOptions options;
        options.outputFolder = tree.path("out");
        options.overwrite = c.overwrite;
        options.ask = c.ask;
        options.repeatsRunAgain = c.repeats;
        EXPECT_EQ(Rows(PlanRows(options, candidates, anyBitrate), tree.root()), c.rows);
    }
}

// On a disk whose names are known, planning writes nothing: no trial of a
// name, so not even the output folder's time changes.
TEST(PlanRows, PlanningOnADiskWritesNothing) {
    test::Tree tree;
    const QString source = tree.mp3(QString::fromUtf8("in/caf\xC3\xA9: live?.mp3"));
    const QString out = tree.folder("out");
    if (!TakesEveryName(out)) {
        GTEST_SKIP() << "the scratch folder is on a file system whose names are tried";
    }
    const qint64 past = 1600000000000;
    ASSERT_TRUE(SetModifiedTime(out, past));
    PlannerOptions options;
    options.outputFolder = out;
    const RowPlans plans =
        PlanRows(options, {{source, {}}}, [](const QString&) { return std::optional<qint32>(0); });
    ASSERT_EQ(plans.rows.size(), 1u);
    EXPECT_EQ(plans.rows[0].output, out + QString::fromUtf8("/caf\xC3\xA9: live?.mp3"));
    EXPECT_EQ(QFileInfo(out).lastModified().toMSecsSinceEpoch(), past);
    EXPECT_EQ(QDir(out).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList());
}

// Each row in list order as "source -> outcome", paths below root: the
// output it goes to ("replaces OUT" where it may replace a file there), or
// "skipped: why" and "failed: why", a skipped row followed by the output it
// was given, if any.
struct Line {
    QString source;
    QString outcome;

    friend bool operator==(const Line& a, const Line& b) {
        return a.source == b.source && a.outcome == b.outcome;
    }
};

void PrintTo(const Line& line, std::ostream* out) {
    *out << line.source.toStdString() << " -> " << line.outcome.toStdString();
}

std::vector<Line> Lines(const RowPlans& plans, const QString& root) {
    const auto relative = [&](const QString& path) { return QDir(root).relativeFilePath(path); };
    std::vector<Line> lines;
    for (const RowPlan& row : plans.rows) {
        QString outcome;
        switch (row.action) {
            case RowPlan::Action::Reduce:
                outcome = relative(row.output);
                break;
            case RowPlan::Action::Replace:
                outcome = "replaces " + relative(row.output);
                break;
            case RowPlan::Action::Skip:
                outcome = "skipped: " + row.reason +
                          (row.output.isEmpty() ? QString() : " (" + relative(row.output) + ')');
                break;
            case RowPlan::Action::Fail:
                outcome = "failed: " + row.reason;
                break;
        }
        lines.push_back({relative(row.source), outcome + (row.renamed ? " [renamed]" : "")});
    }
    return lines;
}

std::vector<Candidate> Listed(const QStringList& paths) {
    std::vector<Candidate> candidates;
    for (const QString& path : paths) {
        candidates.push_back({path, {}});
    }
    return candidates;
}

// Every file below folder, in name order.
std::vector<Candidate> FilesBelow(const QString& folder) {
    QStringList files;
    QDirIterator walk(folder, QDir::Files, QDirIterator::Subdirectories);
    while (walk.hasNext()) {
        files << walk.next();
    }
    std::sort(files.begin(), files.end());
    return Listed(files);
}

PlannerOptions Into(const QString& folder, bool overwrite = false) {
    PlannerOptions options;
    options.outputFolder = folder;
    options.overwrite = overwrite;
    return options;
}

PlannerOptions Beside(bool overwrite = false) {
    PlannerOptions options;
    options.beside = true;
    options.overwrite = overwrite;
    return options;
}

// Files already at an output path: an earlier run's results, or anything
// else. They are left alone unless overwriting, and a listed file that is
// another listed source's output is that source's result, not a source.
TEST(PlanRows, LeavesFilesAlreadyThereAloneUnlessOverwriting) {
    test::Tree tree;
    tree.mp3("in/a.mp3");
    tree.mp3("in/b.mp3");
    tree.mp3("in/b-reduced.mp3");  // an earlier result beside its source
    tree.mp3("x/song.mp3");
    tree.mp3("y/song.mp3");
    const QString longName = QString(251, QLatin1Char('n')) + QStringLiteral(".mp3");  // 255 bytes
    tree.mp3("long/" + longName);
    tree.mp3("long2/" + longName);
    const QString out = tree.folder("out");
    tree.file("out/a.mp3", {'k', 'e', 'p', 't'});  // not even an MP3 file
    tree.folder("link");
    tree.link("link/a.mp3", "nowhere");
    const QString numbered = tree.folder("numbered");
    tree.mp3("numbered/song.mp3");
    tree.mp3("numbered/song (2).mp3");
    const QString fresh = tree.folder("fresh");
    const QString half = tree.folder("half");
    tree.mp3("half/song.mp3");  // a run stopped after the first of two
    tree.mp3("beside/clip.MP2");
    tree.mp3("beside/clip.mpga");
    tree.mp3("beside/clip (2).mp3");  // the second one's result
    tree.mp3("beside/b.mp3");
    tree.mp3("beside/b-reduced.mp3");
    tree.mp3("beside/b-reduced-reduced.mp3");
    tree.mp3("user/clip.MP2");
    tree.mp3("user/clip (1).mp3");  // numbers start at 2: the user's own
    tree.mp3("case/Song.mp3");
    tree.mp3("case-out/song.mp3");
    const QString resultOfB = "skipped: result of " + tree.path("in/b.mp3");

    const struct {
        const char* name;
        PlannerOptions options;
        QStringList paths;
        std::vector<Line> expected;
    } cases[] = {
        {"the file already there stays",
         Into(out),
         {tree.path("in/a.mp3"), tree.path("in/b.mp3")},
         {{"in/a.mp3", "skipped: exists (out/a.mp3)"}, {"in/b.mp3", "out/b.mp3"}}},
        {"overwriting, it is replaced",
         Into(out, true),
         {tree.path("in/a.mp3"), tree.path("in/b.mp3")},
         {{"in/a.mp3", "replaces out/a.mp3"}, {"in/b.mp3", "replaces out/b.mp3"}}},
        {"a link that leads nowhere still holds its name",
         Into(tree.path("link")),
         {tree.path("in/a.mp3")},
         {{"in/a.mp3", "skipped: exists (link/a.mp3)"}}},
        {"beside again: no result of a result",
         Beside(),
         {tree.path("in/b-reduced.mp3"), tree.path("in/b.mp3")},
         {{"in/b-reduced.mp3", resultOfB}, {"in/b.mp3", "skipped: exists (in/b-reduced.mp3)"}}},
        {"beside, overwriting: the earlier result is replaced, still not reduced",
         Beside(true),
         {tree.path("in/b.mp3"), tree.path("in/b-reduced.mp3")},
         {{"in/b.mp3", "replaces in/b-reduced.mp3"}, {"in/b-reduced.mp3", resultOfB}}},
        {"a listed file in the output folder that is no MP3 file",
         Into(out),
         {tree.path("out/a.mp3"), tree.path("in/a.mp3")},
         {{"out/a.mp3", "skipped: not a valid MP3 file"},
          {"in/a.mp3", "skipped: exists (out/a.mp3)"}}},
        {"numbered results of an earlier run are found again",
         Into(numbered),
         {tree.path("x/song.mp3"), tree.path("y/song.mp3")},
         {{"x/song.mp3", "skipped: exists (numbered/song.mp3)"},
          {"y/song.mp3", "skipped: exists (numbered/song (2).mp3)"}}},
        {"the second of two with one name is still made when the first is there",
         Into(half),
         {tree.path("x/song.mp3"), tree.path("y/song.mp3")},
         {{"x/song.mp3", "skipped: exists (half/song.mp3)"}, {"y/song.mp3", "half/song (2).mp3"}}},
        {"a listed numbered result, even listed twice, is the result of the source given its "
         "number",
         Beside(),
         {tree.path("beside/clip (2).mp3"), tree.path("beside/clip.MP2"),
          tree.path("beside/clip.mpga"), tree.path("beside/clip (2).mp3")},
         {{"beside/clip (2).mp3", "skipped: result of " + tree.path("beside/clip.mpga")},
          {"beside/clip.MP2", "beside/clip.mp3"},
          {"beside/clip.mpga", "skipped: exists (beside/clip (2).mp3)"},
          {"beside/clip (2).mp3", "skipped: listed more than once"}}},
        {"a user's own number one is a source of its own",
         Beside(),
         {tree.path("user/clip (1).mp3"), tree.path("user/clip.MP2")},
         {{"user/clip (1).mp3", "user/clip (1)-reduced.mp3"}, {"user/clip.MP2", "user/clip.mp3"}}},
        {"a result makes no result, so the file its result would be is a source",
         Beside(),
         {tree.path("beside/b.mp3"), tree.path("beside/b-reduced.mp3"),
          tree.path("beside/b-reduced-reduced.mp3")},
         {{"beside/b.mp3", "skipped: exists (beside/b-reduced.mp3)"},
          {"beside/b-reduced.mp3", "skipped: result of " + tree.path("beside/b.mp3")},
          {"beside/b-reduced-reduced.mp3", "beside/b-reduced-reduced-reduced.mp3"}}},
        {"overwriting, numbered results are replaced under the same names",
         Into(numbered, true),
         {tree.path("x/song.mp3"), tree.path("y/song.mp3")},
         {{"x/song.mp3", "replaces numbered/song.mp3"},
          {"y/song.mp3", "replaces numbered/song (2).mp3"}}},
        {"a name at the limit fits; with its number it is shortened before the number",
         Into(fresh),
         {tree.path("long/" + longName), tree.path("long2/" + longName)},
         {{"long/" + longName, "fresh/" + longName},
          {"long2/" + longName, "fresh/" + QString(247, QLatin1Char('n')) + " (2).mp3 [renamed]"}}},
        {"beside, a name at the limit is shortened before -reduced",
         Beside(),
         {tree.path("long/" + longName)},
         {{"long/" + longName,
           "long/" + QString(243, QLatin1Char('n')) + "-reduced.mp3 [renamed]"}}},
        {"a listed file at a wanted name but for letter case is that result",
         Into(tree.path("case-out")),
         {tree.path("case/Song.mp3"), tree.path("case-out/song.mp3")},
         {{"case/Song.mp3", "case-out/Song.mp3"},
          {"case-out/song.mp3", "skipped: result of " + tree.path("case/Song.mp3")}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Lines(PlanRows(c.options, Listed(c.paths), AnalysedBitrate), tree.root()),
                  c.expected)
            << c.name;
    }

    // A listed MP3 file in the output folder where another source's result
    // belongs.
    tree.mp3("out/a.mp3");
    EXPECT_EQ(
        Lines(PlanRows(Into(out, true), Listed({tree.path("out/a.mp3"), tree.path("in/a.mp3")}),
                       AnalysedBitrate),
              tree.root()),
        (std::vector<Line>{{"out/a.mp3", "skipped: result of " + tree.path("in/a.mp3")},
                           {"in/a.mp3", "replaces out/a.mp3"}}));
}

// What a run of the plan leaves: each result written and recorded as the
// real run does, its bytes naming its source.
void RunPlan(const RowPlans& plan) {
    ResultJournals journals;
    for (const TakeOver& t : plan.takeOvers) {
        ASSERT_EQ(journals.journalFor(t.recordRoot).append(t.record), QString());
    }
    for (const RowPlan& r : plan.rows) {
        if (r.action != RowPlan::Action::Reduce && r.action != RowPlan::Action::Replace) {
            continue;
        }
        const QByteArray bytes = ("result of " + r.source).toUtf8();
        QFile result(r.output);
        ASSERT_TRUE(result.open(QIODevice::WriteOnly | QIODevice::Truncate));
        result.write(bytes);
        result.close();
        const qint64 time = StampTimeNow();
        ASSERT_TRUE(SetModifiedTime(r.output, time));
        ASSERT_EQ(journals.journalFor(r.recordRoot)
                      .append({QDir(r.recordRoot).relativeFilePath(r.output),
                               {bytes.size(), time},
                               r.source,
                               *StampOf(r.source)}),
                  QString());
    }
}

// Runs of one library into one folder, each planned and then run.
class Reruns {
  public:
    Reruns(const test::Tree& tree, QString library, PlannerOptions options)
        : tree_(tree), library_(std::move(library)), options_(std::move(options)) {}

    PlannerOptions& options() { return options_; }

    RowPlans step(const char* what, const std::vector<Line>& expected, int gone) {
        SCOPED_TRACE(what);
        const RowPlans plan = PlanRows(options_, FilesBelow(library_), AnalysedBitrate);
        EXPECT_EQ(Lines(plan, tree_.root()), expected);
        EXPECT_EQ(plan.gone, gone);
        RunPlan(plan);
        return plan;
    }

  private:
    const test::Tree& tree_;
    QString library_;
    PlannerOptions options_;
};

// One library reduced again and again into one folder while albums come, go,
// move and change: every result keeps its name and source, a new source
// takes the next name no result holds, and nothing is made twice.
TEST(PlanRows, RerunsKeepEachResultWithItsSource) {
    test::Tree tree;
    const QString out = tree.folder("out");
    int frames = 3;  // every source its own size, so no two look alike
    const auto album = [&](const QString& name) {
        tree.file("inc/" + name + "/01 Intro.mp3",
                  test::Frames(test::kMpeg1L3At128, 417, ++frames));
    };
    const QString intro = QStringLiteral("/01 Intro.mp3");
    Reruns runs(tree, tree.path("inc"), Into(out));

    album("B Album");
    runs.step("first run", {{"inc/B Album" + intro, "out/01 Intro.mp3"}}, 0);
    album("A Album");
    runs.step("an album that sorts first",
              {{"inc/A Album" + intro, "out/01 Intro (2).mp3"},
               {"inc/B Album" + intro, "skipped: exists (out/01 Intro.mp3)"}},
              0);
    album("C Album");
    runs.step("an album that sorts last",
              {{"inc/A Album" + intro, "skipped: exists (out/01 Intro (2).mp3)"},
               {"inc/B Album" + intro, "skipped: exists (out/01 Intro.mp3)"},
               {"inc/C Album" + intro, "out/01 Intro (3).mp3"}},
              0);
    ASSERT_TRUE(QDir().rename(tree.path("inc/B Album"), tree.path("inc/Z Album")));
    ASSERT_TRUE(QDir(tree.path("inc/A Album")).removeRecursively());
    album("D Album");
    runs.step("moved, removed and added",
              {{"inc/C Album" + intro, "skipped: exists (out/01 Intro (3).mp3)"},
               {"inc/D Album" + intro, "out/01 Intro (4).mp3"},
               {"inc/Z Album" + intro, "skipped: exists (out/01 Intro.mp3)"}},
              1);
    album("C Album");  // changed since its result was made
    runs.step("a changed source",
              {{"inc/C Album" + intro, "skipped: outdated (out/01 Intro (3).mp3)"},
               {"inc/D Album" + intro, "skipped: exists (out/01 Intro (4).mp3)"},
               {"inc/Z Album" + intro, "skipped: exists (out/01 Intro.mp3)"}},
              1);
    const qint64 madeSize = StampOf(out + "/01 Intro (3).mp3")->size;
    runs.options().refresh = true;
    const RowPlans refresh =
        runs.step("refreshed",
                  {{"inc/C Album" + intro, "replaces out/01 Intro (3).mp3"},
                   {"inc/D Album" + intro, "skipped: exists (out/01 Intro (4).mp3)"},
                   {"inc/Z Album" + intro, "skipped: exists (out/01 Intro.mp3)"}},
                  1);
    ASSERT_TRUE(refresh.rows[0].expectedThere);
    EXPECT_EQ(refresh.rows[0].expectedThere->size, madeSize);
    runs.options().refresh = false;

    // The user's own file where a gone source's result was: no result any
    // more, and as any file no record explains, never replaced unasked (a
    // new source that would take its name is skipped); and a journal cut
    // short.
    tree.file("out/01 Intro (2).mp3", {'m', 'i', 'n', 'e'});
    QFile journal(QDir(out + "/.mirelune").entryInfoList(QDir::Files).first().filePath());
    ASSERT_TRUE(journal.open(QIODevice::Append));
    journal.write("made\t01 Intro (5).mp3\t4\t2026-");
    journal.close();
    album("E Album");
    runs.step("a user's file at a recorded name",
              {{"inc/C Album" + intro, "skipped: exists (out/01 Intro (3).mp3)"},
               {"inc/D Album" + intro, "skipped: exists (out/01 Intro (4).mp3)"},
               {"inc/E Album" + intro, "skipped: exists (out/01 Intro (2).mp3)"},
               {"inc/Z Album" + intro, "skipped: exists (out/01 Intro.mp3)"}},
              0);
}

// A source moved to another folder keeps its result for good: changed later,
// its result is outdated rather than made again under a new name; and a new
// file at its old path never had a result, so it gets a name of its own, and
// the moved source's result stays the moved source's, also when it is made
// again.
TEST(PlanRows, AMovedSourceKeepsItsResult) {
    for (const bool another : {false, true}) {
        SCOPED_TRACE(another ? "another file at the old path" : "the old path left empty");
        test::Tree tree;
        const QString out = tree.folder("out");
        Reruns runs(tree, tree.path("lib"), Into(out));
        tree.file("lib/A/song.mp3", test::Frames(test::kMpeg1L3At128, 417, 4));
        runs.step("first run", {{"lib/A/song.mp3", "out/song.mp3"}}, 0);
        ASSERT_TRUE(QDir().rename(tree.path("lib/A"), tree.path("lib/B")));
        std::vector<Line> newcomer;
        if (another) {
            tree.file("lib/A/song.mp3", test::Frames(test::kMpeg1L3At128, 417, 6));
            newcomer = {{"lib/A/song.mp3", "out/song (2).mp3"}};
        }
        const auto with = [&](std::vector<Line> lines) {
            lines.insert(lines.begin(), newcomer.begin(), newcomer.end());
            return lines;
        };
        const RowPlans moved =
            runs.step("moved", with({{"lib/B/song.mp3", "skipped: exists (out/song.mp3)"}}), 0);
        ASSERT_EQ(moved.takeOvers.size(), 1U);
        EXPECT_EQ(moved.takeOvers[0].record.source, tree.path("lib/B/song.mp3"));
        if (another) {
            newcomer = {{"lib/A/song.mp3", "skipped: exists (out/song (2).mp3)"}};
        }
        tree.file("lib/B/song.mp3", test::Frames(test::kMpeg1L3At128, 417, 5));
        const RowPlans changed =
            runs.step("changed after the move",
                      with({{"lib/B/song.mp3", "skipped: outdated (out/song.mp3)"}}), 0);
        EXPECT_TRUE(changed.takeOvers.empty());
        runs.options().refresh = true;
        runs.step("made again", with({{"lib/B/song.mp3", "replaces out/song.mp3"}}), 0);
        EXPECT_EQ(test::ReadBytes(out + "/song.mp3"),
                  ("result of " + tree.path("lib/B/song.mp3")).toUtf8());
        if (another) {
            EXPECT_EQ(test::ReadBytes(out + "/song (2).mp3"),
                      ("result of " + tree.path("lib/A/song.mp3")).toUtf8());
        }
    }
}

// FAT keeps times in two-second steps: a time that moved within its step is
// the time it was set to, for a source and for its result alike; one that
// left its step is a change.
TEST(PlanRows, TimesCountInTwoSecondSteps) {
    constexpr qint64 kMade = 1600000000000;  // an even second
    const struct {
        qint64 sourceMoved;
        qint64 resultMoved;
        Line expected;
    } cases[] = {
        {1999, 0, {"lib/song.mp3", "skipped: exists (out/song.mp3)"}},
        {2000, 0, {"lib/song.mp3", "replaces out/song.mp3"}},
        {2000, 1999, {"lib/song.mp3", "replaces out/song.mp3"}},
        {2000, 2000, {"lib/song.mp3", "skipped: exists (out/song.mp3)"}},
        {-1, 0, {"lib/song.mp3", "replaces out/song.mp3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sourceMoved << " ms, " << c.resultMoved << " ms");
        test::Tree tree;
        const QString source = tree.file("lib/song.mp3", test::Frames(test::kMpeg1L3At128, 417, 4));
        ASSERT_TRUE(SetModifiedTime(source, kMade));
        PlannerOptions options = Into(tree.folder("out"));
        RunPlan(PlanRows(options, Listed({source}), AnalysedBitrate));
        ASSERT_TRUE(SetModifiedTime(source, kMade + c.sourceMoved));
        const QString result = tree.path("out/song.mp3");
        ASSERT_TRUE(SetModifiedTime(result, StampOf(result)->modifiedMs + c.resultMoved));
        options.refresh = true;
        EXPECT_EQ(Lines(PlanRows(options, Listed({source}), AnalysedBitrate), tree.root()),
                  std::vector<Line>{c.expected});
    }
}

// Copies that keep their original's size and time look alike: a new copy
// is a source of its own while its original still has its result, and a
// moved one listed twice takes one gone result, not two.
TEST(PlanRows, CopiesWithOneStampTakeOneResultEach) {
    test::Tree tree;
    const QString out = tree.folder("out");
    const test::Bytes song = test::Frames(test::kMpeg1L3At128, 417, 4);
    constexpr qint64 kTime = 1600000000000;
    const auto copy = [&](const QString& path) {
        ASSERT_TRUE(SetModifiedTime(tree.file(path, song), kTime));
    };
    Reruns runs(tree, tree.path("lib"), Into(out));
    copy("lib/A/song.mp3");
    runs.step("first run", {{"lib/A/song.mp3", "out/song.mp3"}}, 0);
    copy("lib/B/song.mp3");
    runs.step("a copy",
              {{"lib/A/song.mp3", "skipped: exists (out/song.mp3)"},
               {"lib/B/song.mp3", "out/song (2).mp3"}},
              0);
    ASSERT_TRUE(QDir(tree.path("lib/B")).removeRecursively());
    ASSERT_TRUE(QDir().rename(tree.path("lib/A"), tree.path("lib/C")));
    const QString moved = tree.path("lib/C/song.mp3");
    const RowPlans plan = PlanRows(Into(out), Listed({moved, moved}), AnalysedBitrate);
    EXPECT_EQ(Lines(plan, tree.root()),
              (std::vector<Line>{{"lib/C/song.mp3", "skipped: exists (out/song (2).mp3)"},
                                 {"lib/C/song.mp3", "skipped: listed more than once"}}));
    EXPECT_EQ(plan.gone, 1);
}

// A recorded result under another name than its source's (a stick took
// another) keeps that name, and a result replacing it says it was renamed.
TEST(PlanRows, AResultUnderAnotherNameKeepsIt) {
    test::Tree tree;
    const QString source = tree.mp3("lib/song?.mp3");
    const QString out = tree.folder("out");
    const QString made = tree.file("out/song_.mp3", {'m', 'a', 'd', 'e'});
    ASSERT_TRUE(SetModifiedTime(made, 1600000000000));
    ResultJournals journals;
    ASSERT_EQ(
        journals.journalFor(out).append({"song_.mp3", *StampOf(made), source, *StampOf(source)}),
        QString());
    const struct {
        bool overwrite;
        Line expected;
    } cases[] = {
        {false, {"lib/song?.mp3", "skipped: exists (out/song_.mp3)"}},
        {true, {"lib/song?.mp3", "replaces out/song_.mp3 [renamed]"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(
            Lines(PlanRows(Into(out, c.overwrite), Listed({source}), AnalysedBitrate), tree.root()),
            std::vector<Line>{c.expected});
    }
}

// Without leave to try, a plan asks no target; with it, the trial's answers
// name the result ("?" refused here, as on a stick).
TEST(PlanRows, TriesNamesOnlyWhenAllowed) {
    test::ScratchDir dir;
    const QString source = test::Q(dir.file("Who?.mp3"));
    test::WriteBytes(source, "source");
    const QString out = test::Q(dir.file("out"));
    ASSERT_TRUE(QDir().mkpath(out));
    const struct {
        bool tryNames;
        QString output;
        int trials;  // "x", then "x?x" and "x.x": letters and digits are never tried
    } cases[] = {
        {false, out + "/Who?.mp3", 0},
        {true, out + "/Who_.mp3", 3},
    };
    for (const auto& c : cases) {
        int trials = 0;
        PlannerOptions options;
        options.outputFolder = out;
        options.tryNames = c.tryNames;
        const RowPlans plan = PlanRows(
            options, {{source, {}}}, [](const QString&) { return std::optional<qint32>(0); },
            [&trials](NameProbe&, const QString& name) {
                ++trials;
                return name.contains(QLatin1Char('?')) ? EPERM : 0;
            });
        ASSERT_EQ(plan.rows.size(), 1u);
        EXPECT_EQ(plan.rows[0].output, c.output);
        EXPECT_EQ(trials, c.trials);
    }
}

}  // namespace
}  // namespace mirelune

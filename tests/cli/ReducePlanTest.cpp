// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <algorithm>
#include <vector>

#include "cli/ReducePlan.h"
#include "cli/Shard.h"
#include "reduce/FileStamp.h"
#include "reduce/ResultJournal.h"
#include "support/FolderTree.h"
#include "support/ReduceTestSupport.h"

namespace mirelune::cli {
namespace {

struct Line {
    QString source;
    QString outcome;  // the output, or "skipped: why" / "failed: why"

    friend bool operator==(const Line& a, const Line& b) {
        return a.source == b.source && a.outcome == b.outcome;
    }
};

void PrintTo(const Line& line, std::ostream* out) {
    *out << line.source.toStdString() << " -> " << line.outcome.toStdString();
}

// With outputs, a skipped line names the output it was given.
std::vector<Line> Lines(const Plan& plan, const QString& root, bool outputs = false) {
    const auto relative = [&](const QString& path) { return QDir(root).relativeFilePath(path); };
    std::vector<Line> lines;
    for (const PlannedReduction& r : plan.reductions) {
        lines.push_back({relative(r.source), relative(r.output)});
    }
    for (const Note& n : plan.skipped) {
        lines.push_back(
            {relative(n.path),
             "skipped: " + n.text +
                 (outputs && !n.output.isEmpty() ? " (" + relative(n.output) + ")" : QString())});
    }
    for (const Note& n : plan.failed) {
        lines.push_back({relative(n.path), "failed: " + n.text});
    }
    return lines;
}

// The plan is worked out in list order before anything runs; these cases
// show its decisions on a real tree, without starting the program.
TEST(ReducePlan, DecidesEveryOutputInListOrder) {
    test::Tree tree;
    tree.mp3("in/a.mp3");
    tree.mp3("in/a.MP2");
    tree.mp3("in/sub/b.mp3");
    tree.other("in/notes.txt");
    tree.mp3("in/.mirelune-a1b2c3.part");  // another run's result being written
    const QString out = tree.folder("out");

    struct Case {
        const char* name;
        PlanSettings settings;
        QStringList paths;
        std::vector<Line> expected;
    };
    const std::vector<Case> cases = {
        {"into one folder, a collision numbered",
         {128, out, false, false, false},
         {tree.path("in/a.MP2"), tree.path("in/a.mp3"), tree.path("in/sub/b.mp3"),
          tree.path("in/notes.txt"), tree.path("in/.mirelune-a1b2c3.part")},
         {{"in/a.MP2", "out/a.mp3"},
          {"in/a.mp3", "out/a (2).mp3"},
          {"in/sub/b.mp3", "out/b.mp3"},
          {"in/notes.txt", "skipped: not a valid MP3 file"}}},
        {"beside: a source that is its own output is renamed",
         {128, QString(), true, false, false},
         {tree.path("in/a.mp3"), tree.path("in/sub/b.mp3")},
         {{"in/a.mp3", "in/a-reduced.mp3"}, {"in/sub/b.mp3", "in/sub/b-reduced.mp3"}}},
        {"keep-tree and a file listed twice",
         {128, out, false, true, false},
         {tree.path("in/sub"), tree.path("in/sub/b.mp3"), tree.path("in/gone.mp3")},
         {{"in/sub/b.mp3", "out/b.mp3"},
          {"in/sub/b.mp3", "skipped: listed more than once"},
          {"in/gone.mp3", "failed: no such file or folder"}}},
        {"skip-lower leaves a file already at the target",
         {128, out, false, false, true},
         {tree.path("in/a.mp3")},
         {{"in/a.mp3", "skipped: already 128 kbps, at or below the target"}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Lines(MakeReducePlan(c.settings, c.paths), tree.root()), c.expected) << c.name;
    }
}

// Files already at an output path: an earlier run's results, or anything
// else. They are left alone unless --overwrite, and a listed file that is
// another listed source's output is that source's result, not a source.
TEST(ReducePlan, ALinkThatLeadsNowhereStillHoldsItsName) {
    test::Tree tree;
    tree.mp3("in/a.mp3");
    const QString out = tree.folder("out");
    tree.link("out/a.mp3", "nowhere");
    EXPECT_EQ(Lines(MakeReducePlan({128, out, false, false, false}, {tree.path("in/a.mp3")}),
                    tree.root()),
              (std::vector<Line>{{"in/a.mp3", "skipped: exists"}}));
}

TEST(ReducePlan, LeavesFilesAlreadyThereAloneUnlessOverwriting) {
    test::Tree tree;
    tree.mp3("in/a.mp3");
    tree.mp3("in/b.mp3");
    tree.mp3("in/b-reduced.mp3");  // an earlier --beside result
    tree.mp3("x/song.mp3");
    tree.mp3("y/song.mp3");
    const QString longName = QString(251, QLatin1Char('n')) + QStringLiteral(".mp3");  // 255 bytes
    tree.mp3("long/" + longName);
    tree.mp3("long2/" + longName);
    const QString out = tree.folder("out");
    tree.file("out/a.mp3", {'k', 'e', 'p', 't'});  // not even an MP3 file
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
    const QString resultOfB = "skipped: result of " + tree.path("in/b.mp3");
    const QString resultOfA = "skipped: result of " + tree.path("in/a.mp3");

    struct Case {
        const char* name;
        PlanSettings settings;
        QStringList paths;
        std::vector<Line> expected;
    };
    const auto into = [](const QString& folder, bool overwrite) {
        PlanSettings settings{128, folder, false, false, false};
        settings.overwrite = overwrite;
        return settings;
    };
    const auto beside = [](bool overwrite) {
        PlanSettings settings{128, QString(), true, false, false};
        settings.overwrite = overwrite;
        return settings;
    };
    const std::vector<Case> cases = {
        {"-o: the file already there stays",
         into(out, false),
         {tree.path("in/a.mp3"), tree.path("in/b.mp3")},
         {{"in/b.mp3", "out/b.mp3"}, {"in/a.mp3", "skipped: exists"}}},
        {"-o --overwrite: it is replaced",
         into(out, true),
         {tree.path("in/a.mp3"), tree.path("in/b.mp3")},
         {{"in/a.mp3", "out/a.mp3"}, {"in/b.mp3", "out/b.mp3"}}},
        {"--beside again: no result of a result",
         beside(false),
         {tree.path("in/b-reduced.mp3"), tree.path("in/b.mp3")},
         {{"in/b-reduced.mp3", resultOfB}, {"in/b.mp3", "skipped: exists"}}},
        {"--beside --overwrite: the earlier result is replaced, still not reduced",
         beside(true),
         {tree.path("in/b.mp3"), tree.path("in/b-reduced.mp3")},
         {{"in/b.mp3", "in/b-reduced.mp3"}, {"in/b-reduced.mp3", resultOfB}}},
        {"-o: a listed file in DIR is the result of its source",
         into(out, false),
         {tree.path("out/a.mp3"), tree.path("in/a.mp3")},
         {{"out/a.mp3", "skipped: not a valid MP3 file"}, {"in/a.mp3", "skipped: exists"}}},
        {"-o: numbered results of an earlier run are found again",
         into(numbered, false),
         {tree.path("x/song.mp3"), tree.path("y/song.mp3")},
         {{"x/song.mp3", "skipped: exists"}, {"y/song.mp3", "skipped: exists"}}},
        {"-o: the second of two with one name is still made when the first is there",
         into(half, false),
         {tree.path("x/song.mp3"), tree.path("y/song.mp3")},
         {{"y/song.mp3", "half/song (2).mp3"}, {"x/song.mp3", "skipped: exists"}}},
        {"--beside: a numbered result, even listed twice, is the result of the source given "
         "its number",
         beside(false),
         {tree.path("beside/clip (2).mp3"), tree.path("beside/clip.MP2"),
          tree.path("beside/clip.mpga"), tree.path("beside/clip (2).mp3")},
         {{"beside/clip.MP2", "beside/clip.mp3"},
          {"beside/clip (2).mp3", "skipped: result of " + tree.path("beside/clip.mpga")},
          {"beside/clip.mpga", "skipped: exists"},
          {"beside/clip (2).mp3", "skipped: listed more than once"}}},
        {"--beside: a result makes no result, so the file its result would be is a source",
         beside(false),
         {tree.path("beside/b.mp3"), tree.path("beside/b-reduced.mp3"),
          tree.path("beside/b-reduced-reduced.mp3")},
         {{"beside/b-reduced-reduced.mp3", "beside/b-reduced-reduced-reduced.mp3"},
          {"beside/b.mp3", "skipped: exists"},
          {"beside/b-reduced.mp3", "skipped: result of " + tree.path("beside/b.mp3")}}},
        {"-o --overwrite: and replaced under the same names",
         into(numbered, true),
         {tree.path("x/song.mp3"), tree.path("y/song.mp3")},
         {{"x/song.mp3", "numbered/song.mp3"}, {"y/song.mp3", "numbered/song (2).mp3"}}},
        {"a name at the limit fits; with its number it is shortened before the number",
         into(fresh, false),
         {tree.path("long/" + longName), tree.path("long2/" + longName)},
         {{"long/" + longName, "fresh/" + longName},
          {"long2/" + longName, "fresh/" + QString(247, QLatin1Char('n')) + " (2).mp3"}}},
        {"--beside with a name at the limit: shortened before -reduced",
         beside(false),
         {tree.path("long/" + longName)},
         {{"long/" + longName, "long/" + QString(243, QLatin1Char('n')) + "-reduced.mp3"}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Lines(MakeReducePlan(c.settings, c.paths), tree.root()), c.expected) << c.name;
    }

    // A listed MP3 file in DIR where another source's result belongs.
    tree.mp3("out/a.mp3");
    EXPECT_EQ(
        Lines(MakeReducePlan(into(out, true), {tree.path("out/a.mp3"), tree.path("in/a.mp3")}),
              tree.root()),
        (std::vector<Line>{{"in/a.mp3", "out/a.mp3"}, {"out/a.mp3", resultOfA}}));
}

// Shards run one after another, each finding the results of those before it
// in the walked folders: each still plans exactly its part of the whole job's
// plan, every row is in one shard, and the job run again finds nothing to do.
TEST(ReducePlan, ShardsShareOutTheWholePlanWhateverResultsAreThere) {
    test::Tree tree;
    for (const char* folder : {"one", "two", "three", "four", "five"}) {
        for (const char* name : {"intro.mp3", "song.mp3", "clip.MP2", "clip.mpga", "low.mp3"}) {
            tree.mp3(QStringLiteral("lib/%1/%2").arg(QLatin1String(folder), QLatin1String(name)));
        }
    }
    tree.other("lib/one/notes.txt");
    const QString out = tree.folder("out");
    const PlanSettings beside{128, QString(), true, false, false};
    const PlanSettings into{128, out, false, false, false};
    constexpr int kShards = 4;
    const QStringList list{tree.path("lib"), tree.path("gone.mp3")};

    for (const PlanSettings& settings : {into, beside}) {
        SCOPED_TRACE(settings.beside ? "--beside" : "-o");
        const Plan whole = MakeReducePlan(settings, list);
        std::vector<Line> everyShard;
        int goneReported = 0;
        for (int k = 1; k <= kShards; ++k) {
            Plan part = whole;
            KeepShard(part, {k, kShards});
            for (const Note& n : part.failed) {
                goneReported += n.path == tree.path("gone.mp3") ? 1 : 0;
            }
            Plan now = MakeReducePlan(settings, list);
            KeepShard(now, {k, kShards});
            std::vector<Line> lines = Lines(part, tree.root());
            everyShard.insert(everyShard.end(), lines.begin(), lines.end());
            part.skipped.clear();  // results already there add skips of their own
            now.skipped.clear();
            EXPECT_EQ(Lines(now, tree.root()), Lines(part, tree.root())) << "shard " << k;
            for (const PlannedReduction& r : now.reductions) {
                tree.mp3(QDir(tree.root()).relativeFilePath(r.output));
            }
        }
        EXPECT_EQ(goneReported, 1) << "a missing file fails in exactly one shard";
        const std::vector<Line> lines = Lines(whole, tree.root());
        EXPECT_TRUE(
            std::is_permutation(everyShard.begin(), everyShard.end(), lines.begin(), lines.end()));
        EXPECT_TRUE(MakeReducePlan(settings, {tree.path("lib")}).reductions.empty());
    }
}

// What a run of the plan leaves: each result written and recorded as the
// real run does, its bytes naming its source.
void RunPlan(const Plan& plan) {
    ResultJournals journals;
    for (const TakeOver& t : plan.takeOvers) {
        ASSERT_EQ(journals.journalFor(t.recordRoot).append(t.record), QString());
    }
    for (const PlannedReduction& r : plan.reductions) {
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

// One library reduced again and again into one folder while albums come, go,
// move and change: every result keeps its name and source, a new source
// takes the next name no result holds, and nothing is made twice.
TEST(ReducePlan, RerunsKeepEachResultWithItsSource) {
    test::Tree tree;
    const QString out = tree.folder("out");
    int frames = 3;  // every source its own size, so no two look alike
    const auto album = [&](const QString& name) {
        tree.file("inc/" + name + "/01 Intro.mp3",
                  test::Frames(test::kMpeg1L3At128, 417, ++frames));
    };
    const QString intro = QStringLiteral("/01 Intro.mp3");
    PlanSettings into{128, out, false, false, false};
    const auto step = [&](const char* what, const std::vector<Line>& expected, int gone) {
        SCOPED_TRACE(what);
        const Plan plan = MakeReducePlan(into, {tree.path("inc")});
        EXPECT_EQ(Lines(plan, tree.root(), true), expected);
        EXPECT_EQ(plan.gone, gone);
        RunPlan(plan);
    };

    album("B Album");
    step("first run", {{"inc/B Album" + intro, "out/01 Intro.mp3"}}, 0);
    album("A Album");
    step("an album that sorts first",
         {{"inc/A Album" + intro, "out/01 Intro (2).mp3"},
          {"inc/B Album" + intro, "skipped: exists (out/01 Intro.mp3)"}},
         0);
    album("C Album");
    step("an album that sorts last",
         {{"inc/C Album" + intro, "out/01 Intro (3).mp3"},
          {"inc/A Album" + intro, "skipped: exists (out/01 Intro (2).mp3)"},
          {"inc/B Album" + intro, "skipped: exists (out/01 Intro.mp3)"}},
         0);
    ASSERT_TRUE(QDir().rename(tree.path("inc/B Album"), tree.path("inc/Z Album")));
    ASSERT_TRUE(QDir(tree.path("inc/A Album")).removeRecursively());
    album("D Album");
    step("moved, removed and added",
         {{"inc/D Album" + intro, "out/01 Intro (4).mp3"},
          {"inc/C Album" + intro, "skipped: exists (out/01 Intro (3).mp3)"},
          {"inc/Z Album" + intro, "skipped: exists (out/01 Intro.mp3)"}},
         1);
    album("C Album");  // changed since its result was made
    step("a changed source",
         {{"inc/C Album" + intro, "skipped: outdated (out/01 Intro (3).mp3)"},
          {"inc/D Album" + intro, "skipped: exists (out/01 Intro (4).mp3)"},
          {"inc/Z Album" + intro, "skipped: exists (out/01 Intro.mp3)"}},
         1);
    into.refresh = true;
    const Plan refresh = MakeReducePlan(into, {tree.path("inc")});
    ASSERT_EQ(refresh.reductions.size(), 1U);
    EXPECT_EQ(refresh.reductions[0].output, out + "/01 Intro (3).mp3");
    EXPECT_TRUE(refresh.reductions[0].replace);
    ASSERT_TRUE(refresh.reductions[0].replacing);
    EXPECT_EQ(refresh.reductions[0].replacing->size, StampOf(out + "/01 Intro (3).mp3")->size);
    RunPlan(refresh);
    into.refresh = false;

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
    step("a user's file at a recorded name",
         {{"inc/C Album" + intro, "skipped: exists (out/01 Intro (3).mp3)"},
          {"inc/D Album" + intro, "skipped: exists (out/01 Intro (4).mp3)"},
          {"inc/E Album" + intro, "skipped: exists (out/01 Intro (2).mp3)"},
          {"inc/Z Album" + intro, "skipped: exists (out/01 Intro.mp3)"}},
         0);
}

// A source moved to another folder keeps its result for good: changed later,
// its result is outdated rather than made again under a new name.
TEST(ReducePlan, AMovedSourceKeepsItsResultAfterItChanges) {
    test::Tree tree;
    const QString out = tree.folder("out");
    const PlanSettings into{128, out, false, false, false};
    const auto step = [&](const char* what, const std::vector<Line>& expected, int gone) {
        SCOPED_TRACE(what);
        const Plan plan = MakeReducePlan(into, {tree.path("lib")});
        EXPECT_EQ(Lines(plan, tree.root(), true), expected);
        EXPECT_EQ(plan.gone, gone);
        RunPlan(plan);
    };
    tree.file("lib/A/song.mp3", test::Frames(test::kMpeg1L3At128, 417, 4));
    step("first run", {{"lib/A/song.mp3", "out/song.mp3"}}, 0);
    ASSERT_TRUE(QDir().rename(tree.path("lib/A"), tree.path("lib/B")));
    step("moved", {{"lib/B/song.mp3", "skipped: exists (out/song.mp3)"}}, 0);
    tree.file("lib/B/song.mp3", test::Frames(test::kMpeg1L3At128, 417, 5));
    step("changed after the move", {{"lib/B/song.mp3", "skipped: outdated (out/song.mp3)"}}, 0);
}

// A new file at a moved source's old path never had a result: it gets a
// name of its own, and the moved source's result stays the moved source's,
// also when it is made again.
TEST(ReducePlan, ANewFileAtAMovedSourcesPathIsASourceOfItsOwn) {
    test::Tree tree;
    const QString out = tree.folder("out");
    PlanSettings into{128, out, false, false, false};
    const auto step = [&](const char* what, const std::vector<Line>& expected) {
        SCOPED_TRACE(what);
        const Plan plan = MakeReducePlan(into, {tree.path("lib")});
        EXPECT_EQ(Lines(plan, tree.root(), true), expected);
        EXPECT_EQ(plan.gone, 0);
        RunPlan(plan);
    };
    tree.file("lib/A/song.mp3", test::Frames(test::kMpeg1L3At128, 417, 4));
    step("first run", {{"lib/A/song.mp3", "out/song.mp3"}});
    ASSERT_TRUE(QDir().rename(tree.path("lib/A"), tree.path("lib/B")));
    tree.file("lib/A/song.mp3", test::Frames(test::kMpeg1L3At128, 417, 6));
    step("moved, and another file in its place",
         {{"lib/A/song.mp3", "out/song (2).mp3"},
          {"lib/B/song.mp3", "skipped: exists (out/song.mp3)"}});
    tree.file("lib/B/song.mp3", test::Frames(test::kMpeg1L3At128, 417, 5));
    step("the moved one changed", {{"lib/A/song.mp3", "skipped: exists (out/song (2).mp3)"},
                                   {"lib/B/song.mp3", "skipped: outdated (out/song.mp3)"}});
    into.refresh = true;
    step("made again", {{"lib/B/song.mp3", "out/song.mp3"},
                        {"lib/A/song.mp3", "skipped: exists (out/song (2).mp3)"}});
    EXPECT_EQ(test::ReadBytes(out + "/song.mp3"),
              ("result of " + tree.path("lib/B/song.mp3")).toUtf8());
    EXPECT_EQ(test::ReadBytes(out + "/song (2).mp3"),
              ("result of " + tree.path("lib/A/song.mp3")).toUtf8());
}

// Numbers start at " (2)": a user's own "clip (1).mp3" is never taken for a
// numbered result of clip.MP2 beside it.
TEST(ReducePlan, BesideAUsersOwnNumberOneIsASourceOfItsOwn) {
    test::Tree tree;
    tree.mp3("b/clip.MP2");
    tree.mp3("b/clip (1).mp3");
    const PlanSettings beside{128, QString(), true, false, false};
    EXPECT_EQ(Lines(MakeReducePlan(beside, {tree.path("b")}), tree.root()),
              (std::vector<Line>{{"b/clip (1).mp3", "b/clip (1)-reduced.mp3"},
                                 {"b/clip.MP2", "b/clip.mp3"}}));
}

}  // namespace
}  // namespace mirelune::cli

namespace mirelune::cli {
namespace {

// A listed file at another source's wanted name but for letter case is that
// result (a stick would make the two names one file), not a source of its own.
TEST(ReducePlan, AListedFileAtAWantedNameInAnotherCaseIsThatResult) {
    test::Tree tree;
    tree.mp3("in/Song.mp3");
    tree.mp3("out/song.mp3");
    const QString out = tree.folder("out");
    EXPECT_EQ(
        Lines(MakeReducePlan({128, out, false, false, false},
                             {tree.path("in/Song.mp3"), tree.path("out/song.mp3")}),
              tree.root()),
        (std::vector<Line>{{"in/Song.mp3", "out/Song.mp3"},
                           {"out/song.mp3", "skipped: result of " + tree.path("in/Song.mp3")}}));
}

}  // namespace
}  // namespace mirelune::cli

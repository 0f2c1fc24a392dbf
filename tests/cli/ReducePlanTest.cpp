// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QString>
#include <algorithm>
#include <vector>

#include "cli/ReducePlan.h"
#include "cli/Shard.h"
#include "support/FolderTree.h"

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

std::vector<Line> Lines(const Plan& plan, const QString& root) {
    const auto relative = [&](const QString& path) { return QDir(root).relativeFilePath(path); };
    std::vector<Line> lines;
    for (const PlannedReduction& r : plan.reductions) {
        lines.push_back({relative(r.source), relative(r.output)});
    }
    for (const Note& n : plan.skipped) {
        lines.push_back({relative(n.path), "skipped: " + n.text});
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
         {.where = {.outputFolder = out}},
         {tree.path("in/a.MP2"), tree.path("in/a.mp3"), tree.path("in/sub/b.mp3"),
          tree.path("in/notes.txt"), tree.path("in/.mirelune-a1b2c3.part")},
         {{"in/a.MP2", "out/a.mp3"},
          {"in/a.mp3", "out/a (2).mp3"},
          {"in/sub/b.mp3", "out/b.mp3"},
          {"in/notes.txt", "skipped: not a valid MP3 file"}}},
        {"beside: a source that is its own output is renamed",
         {.where = {.beside = true}},
         {tree.path("in/a.mp3"), tree.path("in/sub/b.mp3")},
         {{"in/a.mp3", "in/a-reduced.mp3"}, {"in/sub/b.mp3", "in/sub/b-reduced.mp3"}}},
        {"keep-tree and a file listed twice",
         {.where = {.outputFolder = out, .keepTree = true}},
         {tree.path("in/sub"), tree.path("in/sub/b.mp3"), tree.path("in/gone.mp3")},
         {{"in/sub/b.mp3", "out/b.mp3"},
          {"in/sub/b.mp3", "skipped: listed more than once"},
          {"in/gone.mp3", "failed: no such file or folder"}}},
        {"skip-lower leaves a file already at the target",
         {.skipLower = true, .where = {.outputFolder = out}},
         {tree.path("in/a.mp3")},
         {{"in/a.mp3", "skipped: already 128 kbps, at or below the target"}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Lines(MakeReducePlan(c.settings, c.paths), tree.root()), c.expected) << c.name;
    }
    // Each reduction carries its source's bitrate as the analysis read it (for --fit).
    const Plan plan = MakeReducePlan({.where = {.outputFolder = out}}, {tree.path("in/a.mp3")});
    ASSERT_EQ(plan.reductions.size(), 1u);
    EXPECT_EQ(plan.reductions[0].sourceBitrate, 128000);
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
    const PlanSettings beside{.where = {.beside = true}};
    const PlanSettings into{.where = {.outputFolder = out}};
    constexpr int kShards = 4;
    const QStringList list{tree.path("lib"), tree.path("gone.mp3")};

    for (const PlanSettings& settings : {into, beside}) {
        SCOPED_TRACE(settings.where.beside ? "--beside" : "-o");
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

}  // namespace
}  // namespace mirelune::cli

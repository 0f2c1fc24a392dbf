#include <gtest/gtest.h>

#include <QDir>
#include <QString>
#include <vector>

#include "cli/ReducePlan.h"
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
          tree.path("in/notes.txt")},
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

}  // namespace
}  // namespace mirelune::cli

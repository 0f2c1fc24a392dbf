// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/RowPlanner.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <string>
#include <vector>

#include "reduce/FileStamp.h"
#include "reduce/TargetNames.h"
#include "support/FolderTree.h"

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

}  // namespace
}  // namespace mirelune

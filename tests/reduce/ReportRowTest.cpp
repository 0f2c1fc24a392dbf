// SPDX-License-Identifier: GPL-3.0-or-later
// A row as a report tells it: how a reduction's end changes it, and which
// of the closing lines' groups it falls into.
#include <gtest/gtest.h>

#include <QStringList>

#include "reduce/ReportGroups.h"
#include "reduce/ReportRow.h"

namespace mirelune {
namespace {

using Status = ReportRow::Status;
using Outcome = ReductionOutcome::Status;

TEST(EndedRow, TakesTheOutcomeOfARowThatRanAndLeavesARowThatNeverRan) {
    const ReportRow wouldReduce{"/in/a.mp3", "/out/a (2).mp3", Status::WouldReduce, {}, {}, true,
                                1000};
    const ReportRow skipped{"/in/a.mp3", "/out/a.mp3", Status::Skipped, "outdated"};
    const ReportRow failed{"/in/a.mp3", {}, Status::Failed, "bad"};
    const struct {
        ReportRow planned;
        Outcome outcome;
        Status status;
        QString reason;
        QString note;
        bool renamed;
    } cases[] = {
        {wouldReduce, Outcome::Pending, Status::WouldReduce, "", "", true},
        {wouldReduce, Outcome::Reduced, Status::Reduced, "", "tag left out", true},
        {wouldReduce, Outcome::Skipped, Status::Skipped, "exists", "", false},
        {wouldReduce, Outcome::Failed, Status::Failed, "why", "", false},
        {wouldReduce, Outcome::Interrupted, Status::Interrupted, "stopped", "", false},
        {skipped, Outcome::Reduced, Status::Skipped, "outdated", "", false},
        {failed, Outcome::Failed, Status::Failed, "bad", "", false},
    };
    const QString reasonOf[] = {"", "", "why", "exists", "stopped"};  // by outcome
    for (const auto& c : cases) {
        ReductionOutcome outcome;
        outcome.status = c.outcome;
        outcome.reason = reasonOf[static_cast<int>(c.outcome)];
        outcome.note = "tag left out";
        const ReportRow row = EndedRow(c.planned, outcome);
        SCOPED_TRACE(static_cast<int>(c.outcome));
        EXPECT_EQ(row.status, c.status);
        EXPECT_EQ(row.reason, c.reason);
        EXPECT_EQ(row.note, c.note);
        EXPECT_EQ(row.renamed, c.renamed);
        EXPECT_EQ(row.source, c.planned.source);
        EXPECT_EQ(row.output, c.planned.output);
        EXPECT_EQ(row.bytesBefore, c.planned.bytesBefore);
    }
}

QStringList Lines(const std::vector<RowFailure>& group) {
    QStringList lines;
    for (const RowFailure& row : group) {
        lines.append(row.fileName + ": " + row.reason);
    }
    return lines;
}

TEST(GroupRows, FailedAndSkippedRowsByTheirReasonsAndResultsRenamedLargerOrNotedInListOrder) {
    const std::vector<ReportRow> rows{
        {"/a", "/o/a", Status::Failed, "why", {}, true, 10, 20},
        {"/b", "/o/b", Status::Skipped, "exists", "note", false, 10, 20},
        {"/c", "/o/c (2)", Status::Reduced, {}, "tag left out", true, 10, 20},
        {"/d", "/o/d", Status::Reduced, {}, {}, false, 20, 10},
        {"/e", "/o/e", Status::Reduced, {}, {}, false, 10, std::nullopt},
        {"/f", "/o/f", Status::Reduced, {}, {}, false, 10, 10},
        {"/g", "/o/g", Status::WouldReduce, {}, {}, true, 10},
        {"/h", "/o/h", Status::Interrupted, "stopped", {}, true, 10, 20},
        {"/i", "/o/i", Status::Skipped, "outdated"},
        {"/j", "/o/j (3)", Status::Reduced, {}, "cover left out", true, std::nullopt, 20},
        {"/k", "/o/k", Status::Failed, "no space"},
    };
    const ReportGroups groups = GroupRows(
        rows,
        {[](const QString& output) { return "as " + output; },
         [](qint64 before, qint64 after) { return QString("%1 > %2").arg(after).arg(before); }});
    EXPECT_EQ(Lines(groups.failures), (QStringList{"/a: why", "/k: no space"}));
    EXPECT_EQ(Lines(groups.skipped), (QStringList{"/b: exists", "/i: outdated"}));
    EXPECT_EQ(Lines(groups.renamed), (QStringList{"/c: as /o/c (2)", "/j: as /o/j (3)"}));
    EXPECT_EQ(Lines(groups.larger), (QStringList{"/c: 20 > 10"}));
    EXPECT_EQ(Lines(groups.notes), (QStringList{"/c: tag left out", "/j: cover left out"}));
}

}  // namespace
}  // namespace mirelune

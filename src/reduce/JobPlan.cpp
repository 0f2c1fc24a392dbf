// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/JobPlan.h"

#include <optional>
#include <set>
#include <vector>

#include "landing/RowReasons.h"
#include "reduce/DoneMessage.h"
#include "reduce/ReduceJobView.h"
#include "reduce/ReduceOptions.h"
#include "reduce/RowWork.h"
#include "shell/PathHelpers.h"
#include "shell/Place.h"
#include "shell/WindowLayer.h"

namespace mirelune {

JobPlan PlanJob(ReduceJobView& view, const ReduceOptions& options, bool tryNames) {
    std::vector<Candidate> candidates;
    std::vector<qint32> rowOf;
    for (qint32 r = 1; r <= view.rowCount(); ++r) {
        try {
            candidates.push_back({view.rowText(r), {}});
            rowOf.push_back(r);
        } catch (...) {
            // The row's own steps report it.
        }
    }
    PlannerOptions planner;
    planner.outputFolder = options.option1 ? options.outputFolder : QString();
    planner.beside = !options.option1;  // one of the two is chosen before the job plans
    planner.ask = true;
    planner.repeatsRunAgain = true;
    planner.tryNames = tryNames;
    // The list holds MP3 files only; one that is no longer one fails when
    // its encoder runs.
    const auto anyBitrate = [](const QString&) { return std::optional<qint32>(0); };
    JobPlan job{PlanRows(planner, candidates, anyBitrate), {}};
    for (std::size_t i = 0; i < job.plans.rows.size(); ++i) {
        job.byRow.emplace(rowOf[job.plans.rows[i].candidate], i);
    }
    return job;
}

int ResultsThatWouldReplace(const RowPlans& plans) {
    std::set<QString> places;
    for (const RowPlan& row : plans.rows) {
        if (row.action == RowPlan::Action::Replace && !row.reason.isEmpty()) {
            places.insert(Place(row.output).foldedText());
        }
    }
    return static_cast<int>(places.size());
}

ReplaceAnswer AskToReplace(WindowLayer& window, int wouldReplace, bool besideOriginals) {
    switch (window.messageBox(ReplaceQuestion(wouldReplace, besideOriginals),
                              window.applicationTitle(), MessageButtons::YesNoCancel,
                              MessageIcon::None)) {
        case MessageAnswer::Yes:
            return ReplaceAnswer::Yes;
        case MessageAnswer::No:
            return ReplaceAnswer::No;
        default:
            return ReplaceAnswer::Cancel;
    }
}

void FollowPlan(const JobPlan& plan, qint32 row, ReplaceAnswer answer, RowWork& work) {
    if (!work.refusal.isEmpty()) {
        return;
    }
    const auto planned = plan.byRow.find(row);
    if (planned == plan.byRow.end()) {
        work.refusal = reason::RowUnreadable();
        return;
    }
    const RowPlan& p = plan.plans.rows[planned->second];
    work.recordRoot = p.recordRoot;
    if (!p.output.isEmpty()) {
        work.output = p.output;
    }
    work.renamed = p.renamed;
    switch (p.action) {
        case RowPlan::Action::Skip:
            work.skip = p.producer.isEmpty() ? p.reason : reason::ResultOf(FileNameOf(p.producer));
            return;
        case RowPlan::Action::Fail:
            work.refusal = p.reason;
            return;
        case RowPlan::Action::Replace:
            // A row that would replace a file is left alone unless the user
            // let it.
            if (!p.reason.isEmpty() && answer != ReplaceAnswer::Yes) {
                work.skip = p.reason;
                return;
            }
            work.replace = Replace::Yes;
            return;
        case RowPlan::Action::Reduce:
            // A file that turns up before the result is ready follows the answer.
            work.replace = answer == ReplaceAnswer::Yes ? Replace::Yes : Replace::No;
            return;
    }
}

}  // namespace mirelune

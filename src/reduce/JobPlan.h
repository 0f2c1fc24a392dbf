// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <cstddef>
#include <map>

#include "reduce/RowPlanner.h"

namespace mirelune {

class ReduceJobView;
class WindowLayer;
struct ReduceOptions;
struct RowWork;

// What the user said to results that would replace files already there.
enum class ReplaceAnswer { NotAsked, Yes, No, Cancel };

// Every row's plan with the options the window's job began with, made
// before anything is written or run: the one question counts it, and each
// row follows it.
struct JobPlan {
    RowPlans plans;
    std::map<qint32, std::size_t> byRow;  // row number -> its plan
};

// The plan of every row the list can still read. With tryNames false no
// name is tried on a target, so nothing there changes, not even a folder's
// time.
JobPlan PlanJob(ReduceJobView& view, const ReduceOptions& options, bool tryNames);

// Results that would replace a file the job did not make or a result
// already made, counted as if the user let them; a source listed again
// replaces the same file once.
int ResultsThatWouldReplace(const RowPlans& plans);

// The one question, asked for that many results; besideOriginals when each
// result goes into its source's folder.
ReplaceAnswer AskToReplace(WindowLayer& window, int wouldReplace, bool besideOriginals);

// Row number row as its plan and the answer say: where its result goes,
// and whether it is reduced, replaces, is skipped or fails. A row that
// already failed keeps its reason.
void FollowPlan(const JobPlan& plan, qint32 row, ReplaceAnswer answer, RowWork& work);

}  // namespace mirelune

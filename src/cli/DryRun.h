// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <functional>
#include <optional>
#include <vector>

#include "cli/ReducePlan.h"
#include "landing/WriteAccess.h"

namespace mirelune::cli {

// Moves each planned result whose folder takes no new file to the failures,
// with the reason the run would give: the run finds it out by making its
// temporary file there, this from the mount and the folder's permissions
// (WriteAccessIn), writing nothing. One check per folder; a folder still to
// be made is checked where it would be made.
using WriteTrial = std::function<int(const QString& folder)>;
void FailUnwritable(Plan& plan, const WriteTrial& trial = &WriteAccessIn);

// Prints what a run of plan would do and runs nothing: as text, each source,
// its output and the encoder command ready to paste into a shell; as JSON,
// one PlannedRowJson line per row (its reductions, then LeftOutRows), then
// {"summary":{"would_reduce","skipped","failed","bytes_before"}}. The exit
// status is the run's: 1 when a row would fail.
int DryRun(Plan plan, int kbps, bool json);

}  // namespace mirelune::cli

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <functional>
#include <optional>
#include <vector>

#include "cli/ReducePlan.h"
#include "reduce/WriteAccess.h"

namespace mirelune::cli {

// Moves each planned result whose folder takes no new file to the failures,
// with the reason the run would give: the run finds it out by making its
// temporary file there, this from the mount and the folder's permissions
// (WriteAccessIn), writing nothing. One check per folder; a folder still to
// be made is checked where it would be made.
using WriteTrial = std::function<int(const QString& folder)>;
void FailUnwritable(Plan& plan, const WriteTrial& trial = &WriteAccessIn);

// One JSON line of a plan: source, output, status ("would reduce",
// "skipped" or "failed"), reason (null for "would reduce"), bytes_before.
QByteArray PlannedRowJson(const QString& source, const QString& output, const char* status,
                          const QString& reason, std::optional<qint64> bytesBefore);

// The size of the file a row names; nothing for a folder, a missing file, or
// a name no file can have (one holding a NUL byte would name a shorter one).
std::optional<qint64> SourceBytes(const QString& path);

// Lines "kind: path: reason" on standard error, names shown as ShownPath.
void PrintNotes(const char* kind, const std::vector<Note>& notes);

// Prints what a run of plan would do and runs nothing: as text, each source,
// its output and the encoder command ready to paste into a shell; as JSON,
// one PlannedRowJson line per row, then {"summary":{"would_reduce",
// "skipped","failed","bytes_before"}}. The exit status is the run's: 1 when
// a row would fail.
int DryRun(Plan plan, int kbps, bool json);

}  // namespace mirelune::cli

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <cstddef>
#include <optional>
#include <vector>

#include "cli/ReducePlan.h"
#include "reduce/ReportGroups.h"
#include "reduce/ReportRow.h"

namespace mirelune::cli {

struct ReduceTotals {
    std::size_t reduced = 0;
    std::size_t skipped = 0;
    std::size_t failed = 0;
    std::size_t interrupted = 0;
    // Recorded results whose sources are gone: kept, not made again.
    std::size_t gone = 0;
    qint64 bytesBefore = 0;  // of the reduced rows' sources
    qint64 bytesAfter = 0;   // of their results
    double seconds = 0.0;
    bool stopped = false;  // the run was stopped before every row had its turn
};

// A planned reduction before it runs: it would reduce.
ReportRow PlannedRow(const PlannedReduction& reduction);

// The rows a plan leaves out, skipped ones first, each with the size of the
// file it names where that is a file.
std::vector<ReportRow> LeftOutRows(const Plan& plan);

// The size of the file a row names; nothing for a folder, a missing file, or
// a name no file can have (one holding a NUL byte would name a shorter one).
std::optional<qint64> SourceBytes(const QString& path);

// One line of JSON for a row of a run: source, output, status ("reduced",
// "skipped", "failed" or "interrupted"), reason, note, bytes_before,
// bytes_after and seconds, null where a value is not known.
QByteArray RowJson(const ReportRow& row);

// A planned result's size before it is made.
struct PredictedBytes {
    qint64 bytes = 0;
    bool exact = false;
};

// One line of JSON for a row of a plan: source, output, status ("would
// reduce", "skipped" or "failed"), reason, bytes_before, and
// predicted_bytes and predicted_exact (null when nothing is predicted).
QByteArray PlannedRowJson(const ReportRow& row,
                          const std::optional<PredictedBytes>& predicted = std::nullopt);

// bytes as "1.2 MiB", in the C locale.
QString SizeText(qint64 bytes);

// The rows' counts and sizes: the reduced rows' sources and results.
ReduceTotals TotalsOf(const std::vector<ReportRow>& rows);

// The groups of rows the command line prints as lines "kind: path: reason":
// a renamed result by its path, a larger one by both sizes in the C locale.
ReportGroups CommandLineGroups(const std::vector<ReportRow>& rows);

// Those lines on standard error, names shown as ShownPath.
void PrintLines(const char* kind, const std::vector<RowFailure>& rows);

// The closing line of JSON: {"summary":{...}} with the totals.
QByteArray SummaryJson(const ReduceTotals& totals);

// "reduced 2, skipped 0, failed 0; 1.2 MiB → 400.0 KiB, 66.7% saved". A run
// that was stopped says so instead.
QString SummaryText(const ReduceTotals& totals);

}  // namespace mirelune::cli

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <cstddef>
#include <optional>

namespace mirelune::cli {

// How one row of a reduce run ended.
struct RowEnd {
    // Interrupted: the run was stopped while the row's encoder ran.
    enum class Status { Reduced, Skipped, Failed, Interrupted };
    QString source;
    QString output;  // empty when the row was given none
    Status status = Status::Skipped;
    QString reason;  // empty for a reduced row
    std::optional<qint64> bytesBefore;
    std::optional<qint64> bytesAfter;
    double seconds = 0.0;
    QString note{};  // what the encoder said of a reduced row's source
};

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

// One line of JSON for a row: source, output, status ("reduced", "skipped",
// "failed" or "interrupted"), reason, note, bytes_before, bytes_after and
// seconds, null where a value is not known.
QByteArray RowJson(const RowEnd& row);

// The closing line of JSON: {"summary":{...}} with the totals.
QByteArray SummaryJson(const ReduceTotals& totals);

// "reduced 2, skipped 0, failed 0; 1.2 MiB → 400.0 KiB, 66.7% saved". A run
// that was stopped says so instead.
QString SummaryText(const ReduceTotals& totals);

}  // namespace mirelune::cli

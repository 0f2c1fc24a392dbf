// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

#include "reduce/ReductionOutcome.h"

namespace mirelune {

// One listed file as a report tells it: the window's closing message, the
// command line's lines and its JSON are all made from a list of these.
struct ReportRow {
    // WouldReduce: planned to be reduced, and not run (yet, or at all).
    enum class Status { WouldReduce, Reduced, Skipped, Failed, Interrupted };
    QString source;
    QString output{};  // empty when the row was given none
    Status status = Status::WouldReduce;
    QString reason{};  // why it was skipped, failed or stopped
    QString note{};    // what the encoder said of a reduced row's source
    // Its result has a name the target takes instead of its own.
    bool renamed = false;
    std::optional<qint64> bytesBefore{};  // of the source
    std::optional<qint64> bytesAfter{};   // of the result
    double seconds = 0.0;                 // its encoder's time
};

// A row that was to be reduced, as its reduction ended: the outcome's
// status and reason, and for a result its note; a reduction that never
// started (Pending) leaves it as planned. A row planned to be skipped or to
// fail never ran and stays as it is. Only a row with a result keeps
// "renamed": the others have no result to be named.
ReportRow EndedRow(ReportRow planned, const ReductionOutcome& outcome);

}  // namespace mirelune

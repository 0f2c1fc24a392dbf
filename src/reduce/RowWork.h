// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

#include "landing/PlacementCalls.h"
#include "reduce/ReduceOptions.h"
#include "reduce/ReportRow.h"

namespace mirelune {

// What one row of the window's job has gathered by the time its encoder
// would start. Every row starts from nothing, so a step that failed can
// never hand a later step another row's source, output or bitrate.
struct RowWork {
    bool sourceRead = false;
    QString source;
    ReduceOptions options;
    std::optional<QString> folder;
    QString output;
    std::optional<int> kbps;
    Replace replace = Replace::No;
    QString refusal;       // why this row failed before it could run
    QString skip;          // why this row is left alone
    bool renamed = false;  // the target did not take the name the result wanted
    QString recordRoot;    // the folder whose journal records the result
    QString encoderPath;   // the encoder copy as the row found it
};

// The report of row number `number` when it does not run: it failed before
// it could, or is left alone. Nothing for a row whose encoder runs.
std::optional<ReportRow> ReportWithoutRun(const RowWork& row, qint32 number);

}  // namespace mirelune

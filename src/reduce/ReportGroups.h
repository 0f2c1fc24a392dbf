// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>
#include <vector>

#include "reduce/ReportRow.h"

namespace mirelune {

// A row a report names, by its source path (or "row N" when it could not
// be read), and why.
struct RowFailure {
    QString fileName;
    QString reason;
};

// The rows a report lists after its totals, group by group, each group in
// list order.
struct ReportGroups {
    std::vector<RowFailure> failures{};
    std::vector<RowFailure> skipped{};
    std::vector<RowFailure> renamed{};  // reason: the name the result got
    std::vector<RowFailure> larger{};   // reason: the sizes
    std::vector<RowFailure> notes{};    // reason: what the encoder said of the source
};

// How a front end words the lines of results: the window names a renamed
// result by its file name and sizes as its locale writes them, the command
// line by its path and in the C locale.
struct ResultWording {
    std::function<QString(const QString& output)> renamed;
    std::function<QString(qint64 before, qint64 after)> larger;
};

// The failed and the skipped rows with their reasons; of the reduced rows,
// those renamed for the target, those larger than their sources (both
// sizes known) and those with a note. Rows that would still reduce or were
// stopped are in no group.
ReportGroups GroupRows(const std::vector<ReportRow>& rows, const ResultWording& wording);

}  // namespace mirelune

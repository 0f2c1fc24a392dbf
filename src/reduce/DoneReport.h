// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <vector>

#include "reduce/DoneMessage.h"

namespace mirelune {

// What a job tells after "Done.": its rows, each named by its source path,
// in list order, with their reasons as given. Four albums' "Track 1.mp3"
// are four different files; the names say which.
struct DoneRows {
    QStringList listed;  // every source the job read, to tell names apart
    std::vector<RowFailure> failures;
    std::vector<RowFailure> skipped;
    std::vector<RowFailure> renamed;
    std::vector<RowFailure> larger;   // reason: SizeChange
    std::vector<RowFailure> notes{};  // reason: what the encoder said of the source
};

// DoneMessage with each path cut to what tells it from the job's other
// rows (DistinctNames), numbers written as locale writes them.
QString DoneReport(const DoneRows& rows, const QLocale& locale);

}  // namespace mirelune

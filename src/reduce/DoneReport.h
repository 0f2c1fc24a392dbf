// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QStringList>
#include <vector>

#include "reduce/DoneMessage.h"
#include "reduce/ReportRow.h"

namespace mirelune {

// What a job tells after "Done.": its rows, each named by its source path,
// in list order, with their reasons as given. Four albums' "Track 1.mp3"
// are four different files; the names say which.
struct DoneRows {
    QStringList listed;  // every source the job read, to tell names apart
    ReportGroups groups;
};

// The job's rows grouped as the window words them: a renamed result by
// the file name it got, a larger one by both sizes as locale writes them.
DoneRows DoneRowsOf(const std::vector<ReportRow>& rows, const QLocale& locale);

// DoneMessage with each path cut to what tells it from the job's other
// rows (DistinctNames), numbers written as locale writes them.
QString DoneReport(const DoneRows& rows, const QLocale& locale);

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/DoneReport.h"

#include "reduce/DistinctNames.h"
#include "reduce/LargerResults.h"
#include "shell/PathHelpers.h"

namespace mirelune {

DoneRows DoneRowsOf(const std::vector<ReportRow>& rows, const QLocale& locale) {
    DoneRows done;
    for (const ReportRow& row : rows) {
        done.listed.append(row.source);
    }
    done.groups = GroupRows(
        rows,
        {[](const QString& output) { return SavedAs(FileNameOf(output)); },
         [&locale](qint64 before, qint64 after) { return SizeChange(locale, before, after); }});
    return done;
}

QString DoneReport(const DoneRows& rows, const QLocale& locale) {
    const DistinctNames names(rows.listed);
    const auto named = [&names](std::vector<RowFailure> group) {
        for (RowFailure& row : group) {
            row.fileName = names.of(row.fileName);
        }
        return group;
    };
    const ReportGroups& groups = rows.groups;
    return DoneMessage(locale, {named(groups.failures), named(groups.skipped),
                                named(groups.renamed), named(groups.larger), named(groups.notes)});
}

}  // namespace mirelune

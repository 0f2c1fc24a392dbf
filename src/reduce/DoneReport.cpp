// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/DoneReport.h"

#include "reduce/DistinctNames.h"

namespace mirelune {

QString DoneReport(const DoneRows& rows, const QLocale& locale) {
    const DistinctNames names(rows.listed);
    const auto named = [&names](std::vector<RowFailure> group) {
        for (RowFailure& row : group) {
            row.fileName = names.of(row.fileName);
        }
        return group;
    };
    return DoneMessage(locale, named(rows.failures), named(rows.skipped), named(rows.renamed),
                       named(rows.larger), named(rows.notes));
}

}  // namespace mirelune

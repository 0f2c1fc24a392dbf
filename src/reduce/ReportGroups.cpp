// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/ReportGroups.h"

namespace mirelune {

ReportGroups GroupRows(const std::vector<ReportRow>& rows, const ResultWording& wording) {
    ReportGroups groups;
    for (const ReportRow& row : rows) {
        switch (row.status) {
            case ReportRow::Status::Failed:
                groups.failures.push_back({row.source, row.reason});
                break;
            case ReportRow::Status::Skipped:
                groups.skipped.push_back({row.source, row.reason});
                break;
            case ReportRow::Status::Reduced:
                if (row.renamed) {
                    groups.renamed.push_back({row.source, wording.renamed(row.output)});
                }
                if (row.bytesBefore && row.bytesAfter && *row.bytesAfter > *row.bytesBefore) {
                    groups.larger.push_back(
                        {row.source, wording.larger(*row.bytesBefore, *row.bytesAfter)});
                }
                if (!row.note.isEmpty()) {
                    groups.notes.push_back({row.source, row.note});
                }
                break;
            case ReportRow::Status::WouldReduce:
            case ReportRow::Status::Interrupted:
                break;
        }
    }
    return groups;
}

}  // namespace mirelune

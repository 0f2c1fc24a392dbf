// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/ReportRow.h"

namespace mirelune {

ReportRow EndedRow(ReportRow planned, const ReductionOutcome& outcome) {
    if (planned.status != ReportRow::Status::WouldReduce) {
        return planned;
    }
    switch (outcome.status) {
        case ReductionOutcome::Status::Pending:
            return planned;
        case ReductionOutcome::Status::Reduced:
            planned.status = ReportRow::Status::Reduced;
            planned.note = outcome.note;
            break;
        case ReductionOutcome::Status::Skipped:
            planned.status = ReportRow::Status::Skipped;
            planned.renamed = false;
            break;
        case ReductionOutcome::Status::Failed:
            planned.status = ReportRow::Status::Failed;
            planned.renamed = false;
            break;
        case ReductionOutcome::Status::Interrupted:
            planned.status = ReportRow::Status::Interrupted;
            planned.renamed = false;
            break;
    }
    planned.reason = outcome.reason;
    return planned;
}

}  // namespace mirelune

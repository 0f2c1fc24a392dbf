// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/RowWork.h"

#include <QCoreApplication>

namespace mirelune {

std::optional<ReportRow> ReportWithoutRun(const RowWork& row, qint32 number) {
    if (!row.refusal.isEmpty()) {
        return ReportRow{
            .source = row.sourceRead
                          ? row.source
                          : QCoreApplication::translate("ReduceJob", "row %1").arg(number),
            .status = ReportRow::Status::Failed,
            .reason = row.refusal};
    }
    if (!row.skip.isEmpty()) {
        return ReportRow{
            .source = row.source, .status = ReportRow::Status::Skipped, .reason = row.skip};
    }
    return std::nullopt;
}

}  // namespace mirelune

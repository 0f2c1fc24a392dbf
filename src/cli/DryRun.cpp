// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DryRun.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <map>

#include "cli/CommandLine.h"
#include "cli/ReduceReport.h"
#include "reduce/EncoderCommand.h"
#include "reduce/EncoderCopy.h"
#include "reduce/ReductionOutcome.h"
#include "landing/TargetNames.h"
#include "shell/NameText.h"
#include "shell/PathHelpers.h"

namespace mirelune::cli {
namespace {

QByteArray Line(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

void Print(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
}

}  // namespace

void FailUnwritable(Plan& plan, const WriteTrial& trial) {
    std::map<QString, int> errorIn;  // by the folder tried
    std::vector<PlannedReduction> kept;
    for (PlannedReduction& r : plan.reductions) {
        const QString folder = FolderOf(r.output);
        const QString tried = QDir::cleanPath(ExistingFolder(folder));
        auto known = errorIn.find(tried);
        if (known == errorIn.end()) {
            known = errorIn.emplace(tried, trial(tried)).first;
        }
        if (known->second == 0) {
            kept.push_back(std::move(r));
        } else {
            plan.failed.push_back(
                {r.source, reason::CannotWriteIn(folder, known->second), r.output});
        }
    }
    plan.reductions = std::move(kept);
}

int DryRun(Plan plan, int kbps, bool json) {
    FailUnwritable(plan);
    if (json) {
        qint64 bytesBefore = 0;
        for (const PlannedReduction& r : plan.reductions) {
            Print(PlannedRowJson(PlannedRow(r)));
            bytesBefore += r.sourceBytes;
        }
        for (const ReportRow& row : LeftOutRows(plan)) {
            Print(PlannedRowJson(row));
        }
        Print(Line(
            {{QStringLiteral("summary"),
              QJsonObject{
                  {QStringLiteral("would_reduce"), static_cast<double>(plan.reductions.size())},
                  {QStringLiteral("skipped"), static_cast<double>(plan.skipped.size())},
                  {QStringLiteral("failed"), static_cast<double>(plan.failed.size())},
                  {QStringLiteral("gone"), plan.gone},
                  {QStringLiteral("bytes_before"), static_cast<double>(bytesBefore)},
              }}}));
    } else {
        const QString encoder = QDir::toNativeSeparators(
            QDir(EncoderFolderBase())
                .filePath(QStringLiteral("mirelune-XXXXXX/") + EncoderFileName()));
        for (const PlannedReduction& r : plan.reductions) {
            std::printf("%s → %s\n  %s\n", qPrintable(ShownPath(r.source)),
                        qPrintable(ShownPath(r.output)),
                        qPrintable(EncoderCommandText(encoder, kbps, r.source, r.output)));
        }
        std::fflush(stdout);
        const ReportGroups leftOut = CommandLineGroups(LeftOutRows(plan));
        PrintLines("skipped", leftOut.skipped);
        PrintLines("failed", leftOut.failures);
        std::printf("would reduce %zu, skip %zu, fail %zu%s\n", plan.reductions.size(),
                    plan.skipped.size(), plan.failed.size(),
                    plan.gone > 0 ? qPrintable(QStringLiteral(", gone %1").arg(plan.gone)) : "");
    }
    std::fflush(stdout);
    return plan.failed.empty() ? kExitOk : kExitSomeFailed;
}

}  // namespace mirelune::cli

// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DryRun.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <map>

#include "cli/CommandLine.h"
#include "cli/OutputRoom.h"
#include "cli/PathJson.h"
#include "cli/PredictedSizes.h"
#include "cli/ReduceReport.h"
#include "landing/TargetNames.h"
#include "reduce/EncoderCommand.h"
#include "reduce/EncoderCopy.h"
#include "reduce/ReductionOutcome.h"
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

std::optional<PredictedBytes> Predicted(const PlannedReduction& r, int kbps) {
    const std::optional<encoder::SizePrediction> size = PredictedSize(r, kbps);
    if (!size) {
        return std::nullopt;
    }
    return PredictedBytes{static_cast<qint64>(size->bytes), size->exact};
}

// An estimate is never shown as a size known to the byte.
QString Shown(const PredictedBytes& size) {
    return (size.exact ? QString() : QStringLiteral("≈")) + SizeText(size.bytes);
}

// The predicted results together: exact only when every one is.
struct PredictedTotal {
    qint64 bytesBefore = 0;
    PredictedBytes after{0, true};
};

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
    ReadSourceFactsOf(plan);
    std::vector<std::optional<PredictedBytes>> predicted;
    PredictedTotal total;
    for (const PlannedReduction& r : plan.reductions) {
        predicted.push_back(Predicted(r, kbps));
        total.bytesBefore += r.sourceBytes;
        total.after.bytes += predicted.back() ? predicted.back()->bytes : 0;
        total.after.exact = total.after.exact && predicted.back() && predicted.back()->exact;
    }
    const OutputRoom room(plan.reductions);
    if (json) {
        for (std::size_t i = 0; i < plan.reductions.size(); ++i) {
            Print(PlannedRowJson(PlannedRow(plan.reductions[i]), predicted[i]));
        }
        for (const ReportRow& row : LeftOutRows(plan)) {
            Print(PlannedRowJson(row));
        }
        QJsonArray free;
        for (std::size_t fs = 0; fs < room.fileSystems().size(); ++fs) {
            const std::optional<std::uint64_t>& bytes = room.fileSystems()[fs].free;
            QJsonObject folder{{QStringLiteral("free_bytes"),
                                bytes ? QJsonValue(static_cast<double>(*bytes)) : QJsonValue()}};
            InsertPath(folder, QStringLiteral("folder"), room.shownFolders()[fs]);
            free.append(folder);
        }
        Print(Line(
            {{QStringLiteral("summary"),
              QJsonObject{
                  {QStringLiteral("would_reduce"), static_cast<double>(plan.reductions.size())},
                  {QStringLiteral("skipped"), static_cast<double>(plan.skipped.size())},
                  {QStringLiteral("failed"), static_cast<double>(plan.failed.size())},
                  {QStringLiteral("gone"), plan.gone},
                  {QStringLiteral("bytes_before"), static_cast<double>(total.bytesBefore)},
                  {QStringLiteral("predicted_bytes"), static_cast<double>(total.after.bytes)},
                  {QStringLiteral("predicted_exact"), total.after.exact},
                  {QStringLiteral("free_space"), free},
              }}}));
    } else {
        const QString encoder = QDir::toNativeSeparators(
            QDir(EncoderFolderBase())
                .filePath(QStringLiteral("mirelune-XXXXXX/") + EncoderFileName()));
        for (std::size_t i = 0; i < plan.reductions.size(); ++i) {
            const PlannedReduction& r = plan.reductions[i];
            const QString size =
                predicted[i] ? QStringLiteral(" (%1)").arg(Shown(*predicted[i])) : QString();
            std::printf("%s → %s%s\n  %s\n", qPrintable(ShownPath(r.source)),
                        qPrintable(ShownPath(r.output)), qPrintable(size),
                        qPrintable(EncoderCommandText({.encoderPath = encoder,
                                                       .kbps = kbps,
                                                       .source = r.source,
                                                       .output = r.output})));
        }
        for (std::size_t fs = 0; fs < room.fileSystems().size(); ++fs) {
            const std::optional<std::uint64_t>& bytes = room.fileSystems()[fs].free;
            std::printf("free: %s: %s\n", qPrintable(ShownPath(room.shownFolders()[fs])),
                        bytes ? qPrintable(SizeText(static_cast<qint64>(*bytes))) : "unknown");
        }
        std::fflush(stdout);
        const ReportGroups leftOut = CommandLineGroups(LeftOutRows(plan));
        PrintLines("skipped", leftOut.skipped);
        PrintLines("failed", leftOut.failures);
        const QString sizes =
            plan.reductions.empty()
                ? QString()
                : QStringLiteral("; %1 → %2").arg(SizeText(total.bytesBefore), Shown(total.after));
        std::printf("would reduce %zu, skip %zu, fail %zu%s%s\n", plan.reductions.size(),
                    plan.skipped.size(), plan.failed.size(),
                    plan.gone > 0 ? qPrintable(QStringLiteral(", gone %1").arg(plan.gone)) : "",
                    qPrintable(sizes));
    }
    std::fflush(stdout);
    return plan.failed.empty() ? kExitOk : kExitSomeFailed;
}

}  // namespace mirelune::cli

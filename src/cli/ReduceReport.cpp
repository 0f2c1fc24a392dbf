// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ReduceReport.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "cli/PathJson.h"
#include "folders/NativeNames.h"
#include "reduce/DoneMessage.h"
#include "reduce/LargerResults.h"
#include "shell/NameText.h"

namespace mirelune::cli {
namespace {

QJsonValue OrNull(const std::optional<qint64>& value) {
    return value ? QJsonValue(static_cast<double>(*value)) : QJsonValue(QJsonValue::Null);
}

QJsonValue OrNull(const QString& text) {
    return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

// Milliseconds are all a reader can use; more digits only look precise.
double Rounded(double seconds) {
    return std::round(seconds * 1000.0) / 1000.0;
}

// What a row of a plan and of a run both tell.
QJsonObject PlannedObject(const ReportRow& row) {
    static const char* const kStatus[] = {"would reduce", "reduced", "skipped", "failed",
                                          "interrupted"};
    QJsonObject object{
        {QStringLiteral("status"), QLatin1String(kStatus[static_cast<int>(row.status)])},
        {QStringLiteral("reason"), OrNull(row.reason)},
        {QStringLiteral("bytes_before"), OrNull(row.bytesBefore)},
    };
    InsertPath(object, QStringLiteral("source"), row.source);
    InsertPath(object, QStringLiteral("output"), row.output);
    return object;
}

QByteArray Line(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

}  // namespace

QString SizeText(qint64 bytes) {
    return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeIecFormat);
}

ReportRow PlannedRow(const PlannedReduction& reduction) {
    return {.source = reduction.source,
            .output = reduction.output,
            .status = ReportRow::Status::WouldReduce,
            .renamed = reduction.renamed,
            .bytesBefore = reduction.sourceBytes};
}

std::vector<ReportRow> LeftOutRows(const Plan& plan) {
    std::vector<ReportRow> rows;
    const auto add = [&rows](const std::vector<Note>& notes, ReportRow::Status status) {
        for (const Note& note : notes) {
            rows.push_back({.source = note.path,
                            .output = note.output,
                            .status = status,
                            .reason = note.text,
                            .bytesBefore = SourceBytes(note.path)});
        }
    };
    add(plan.skipped, ReportRow::Status::Skipped);
    add(plan.failed, ReportRow::Status::Failed);
    return rows;
}

std::optional<qint64> SourceBytes(const QString& path) {
    QByteArray native;
    const QFileInfo file(path);
    if (!EncodeNativePath(path, native) || !file.isFile()) {
        return std::nullopt;
    }
    return file.size();
}

QByteArray RowJson(const ReportRow& row) {
    QJsonObject object = PlannedObject(row);
    object.insert(QStringLiteral("note"), OrNull(row.note));
    object.insert(QStringLiteral("bytes_after"), OrNull(row.bytesAfter));
    object.insert(QStringLiteral("seconds"), Rounded(row.seconds));
    return Line(object);
}

QByteArray PlannedRowJson(const ReportRow& row, const std::optional<PredictedBytes>& predicted) {
    QJsonObject object = PlannedObject(row);
    object.insert(QStringLiteral("predicted_bytes"),
                  predicted ? QJsonValue(static_cast<double>(predicted->bytes)) : QJsonValue());
    object.insert(QStringLiteral("predicted_exact"),
                  predicted ? QJsonValue(predicted->exact) : QJsonValue());
    return Line(object);
}

ReduceTotals TotalsOf(const std::vector<ReportRow>& rows) {
    ReduceTotals totals;
    for (const ReportRow& row : rows) {
        switch (row.status) {
            case ReportRow::Status::Reduced:
                ++totals.reduced;
                totals.bytesBefore += row.bytesBefore.value_or(0);
                totals.bytesAfter += row.bytesAfter.value_or(0);
                break;
            case ReportRow::Status::Skipped:
                ++totals.skipped;
                break;
            case ReportRow::Status::Failed:
                ++totals.failed;
                break;
            case ReportRow::Status::Interrupted:
                ++totals.interrupted;
                break;
            case ReportRow::Status::WouldReduce:
                break;
        }
    }
    return totals;
}

ReportGroups CommandLineGroups(const std::vector<ReportRow>& rows) {
    return GroupRows(
        rows, {[](const QString& output) { return SavedAs(QDir::toNativeSeparators(output)); },
               [](qint64 before, qint64 after) {
                   return LargerThanOriginal(QLocale::c(), before, after);
               }});
}

void PrintLines(const char* kind, const std::vector<RowFailure>& rows) {
    for (const RowFailure& row : rows) {
        std::fprintf(stderr, "%s: %s: %s\n", kind, qPrintable(ShownPath(row.fileName)),
                     qPrintable(row.reason));
    }
}

QByteArray SummaryJson(const ReduceTotals& totals) {
    return Line({{QStringLiteral("summary"),
                  QJsonObject{
                      {QStringLiteral("reduced"), static_cast<double>(totals.reduced)},
                      {QStringLiteral("skipped"), static_cast<double>(totals.skipped)},
                      {QStringLiteral("failed"), static_cast<double>(totals.failed)},
                      {QStringLiteral("interrupted"), static_cast<double>(totals.interrupted)},
                      {QStringLiteral("gone"), static_cast<double>(totals.gone)},
                      {QStringLiteral("bytes_before"), static_cast<double>(totals.bytesBefore)},
                      {QStringLiteral("bytes_after"), static_cast<double>(totals.bytesAfter)},
                      {QStringLiteral("seconds"), Rounded(totals.seconds)},
                      {QStringLiteral("stopped"), totals.stopped},
                  }}});
}

QString SummaryText(const ReduceTotals& totals) {
    const qint64 before = totals.bytesBefore;
    const qint64 after = totals.bytesAfter;
    // Results larger than their sources (a target above the originals'
    // bitrate) say so rather than show a negative saving.
    const double change =
        before > 0 ? 100.0 * static_cast<double>(std::abs(before - after)) / before : 0.0;
    // Results whose sources are gone are only mentioned where there are any.
    const QString gone = totals.gone > 0 ? QStringLiteral(", gone %1").arg(totals.gone) : QString();
    return QStringLiteral("reduced %1, skipped %2, failed %3%4; %5 → %6, %7% %8")
        .arg(totals.reduced)
        .arg(totals.skipped)
        .arg(totals.failed)
        .arg(gone, SizeText(before), SizeText(after))
        .arg(change, 0, 'f', 1)
        .arg(after > before ? QStringLiteral("larger") : QStringLiteral("saved"));
}

}  // namespace mirelune::cli

// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ReduceReport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <cmath>
#include <cstdlib>

#include "cli/PathJson.h"

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

QByteArray Line(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

QString SizeText(qint64 bytes) {
    return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeIecFormat);
}

}  // namespace

QByteArray RowJson(const RowEnd& row) {
    static const char* const kStatus[] = {"reduced", "skipped", "failed", "interrupted"};
    QJsonObject object{
        {QStringLiteral("status"), QLatin1String(kStatus[static_cast<int>(row.status)])},
        {QStringLiteral("reason"), OrNull(row.reason)},
        {QStringLiteral("note"), OrNull(row.note)},
        {QStringLiteral("bytes_before"), OrNull(row.bytesBefore)},
        {QStringLiteral("bytes_after"), OrNull(row.bytesAfter)},
        {QStringLiteral("seconds"), Rounded(row.seconds)},
    };
    InsertPath(object, QStringLiteral("source"), row.source);
    InsertPath(object, QStringLiteral("output"), row.output);
    return Line(object);
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

// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DryRun.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <map>

#include "cli/CommandLine.h"
#include "cli/PathJson.h"
#include "folders/NativeNames.h"
#include "reduce/EncoderCommand.h"
#include "reduce/EncoderCopy.h"
#include "reduce/ReductionOutcome.h"
#include "reduce/TargetNames.h"
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

void PrintJsonNotes(const char* status, const std::vector<Note>& notes) {
    for (const Note& note : notes) {
        Print(PlannedRowJson(note.path, note.output, status, note.text, SourceBytes(note.path)));
    }
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

std::optional<qint64> SourceBytes(const QString& path) {
    QByteArray native;
    const QFileInfo file(path);
    if (!EncodeNativePath(path, native) || !file.isFile()) {
        return std::nullopt;
    }
    return file.size();
}

QByteArray PlannedRowJson(const QString& source, const QString& output, const char* status,
                          const QString& reason, std::optional<qint64> bytesBefore) {
    QJsonObject object{
        {QStringLiteral("status"), QLatin1String(status)},
        {QStringLiteral("reason"), reason.isEmpty() ? QJsonValue(QJsonValue::Null) : reason},
        {QStringLiteral("bytes_before"), bytesBefore ? QJsonValue(static_cast<double>(*bytesBefore))
                                                     : QJsonValue(QJsonValue::Null)},
    };
    InsertPath(object, QStringLiteral("source"), source);
    InsertPath(object, QStringLiteral("output"), output);
    return Line(object);
}

void PrintNotes(const char* kind, const std::vector<Note>& notes) {
    for (const Note& note : notes) {
        std::fprintf(stderr, "%s: %s: %s\n", kind, qPrintable(ShownPath(note.path)),
                     qPrintable(note.text));
    }
}

int DryRun(Plan plan, int kbps, bool json) {
    FailUnwritable(plan);
    if (json) {
        qint64 bytesBefore = 0;
        for (const PlannedReduction& r : plan.reductions) {
            Print(PlannedRowJson(r.source, r.output, "would reduce", {}, r.sourceBytes));
            bytesBefore += r.sourceBytes;
        }
        PrintJsonNotes("skipped", plan.skipped);
        PrintJsonNotes("failed", plan.failed);
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
        PrintNotes("skipped", plan.skipped);
        PrintNotes("failed", plan.failed);
        std::printf("would reduce %zu, skip %zu, fail %zu%s\n", plan.reductions.size(),
                    plan.skipped.size(), plan.failed.size(),
                    plan.gone > 0 ? qPrintable(QStringLiteral(", gone %1").arg(plan.gone)) : "");
    }
    std::fflush(stdout);
    return plan.failed.empty() ? kExitOk : kExitSomeFailed;
}

}  // namespace mirelune::cli

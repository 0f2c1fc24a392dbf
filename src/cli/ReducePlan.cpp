// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ReducePlan.h"

#include <QHash>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "filelist/FileDrop.h"
#include "filelist/RefusedFiles.h"
#include "shell/HeadlessWindowLayer.h"
#include "shell/PathHelpers.h"

namespace mirelune::cli {
namespace {

QString SubFolderOf(const QString& root, const QString& file) {
    const QString relative = QDir(root).relativeFilePath(QFileInfo(file).path());
    return relative == QStringLiteral(".") ? QString() : relative;
}

// A folder is searched as if it were dropped on the window's list: every
// file of its tree in the window's order, names starting with "~" left out.
// Folders that cannot be walked are reported on stderr; files and folders
// left out for their names are skipped with the reason.
std::vector<Candidate> CollectCandidates(const QStringList& paths, Plan& plan) {
    std::vector<Candidate> candidates;
    HeadlessWindowLayer window;
    for (const QString& given : paths) {
        const QString path = Absolute(given);
        if (IsFolder(path)) {
            RefusedFiles leftOut;
            for (const QString& file : CollectDroppedFiles({path}, window, leftOut)) {
                candidates.push_back({file, SubFolderOf(path, file)});
            }
            for (const RefusedFiles::Entry& name : leftOut.entries()) {
                plan.skipped.push_back({name.path, name.reason});
            }
        } else if (QFileInfo::exists(path)) {
            candidates.push_back({path, QString()});
        } else {
            plan.failed.push_back({given, QStringLiteral("no such file or folder")});
        }
    }
    return candidates;
}

// The planner's rows as the command line prints and runs them.
Plan PlanCandidates(const PlanSettings& settings, const std::vector<Candidate>& candidates,
                    Plan plan) {
    PlannerOptions options = settings.where;
    if (settings.skipLower) {
        options.skipAtOrBelow = settings.kbps * 1000;
    }
    // Kept for --fit, which chooses no bitrate above every source's.
    QHash<QString, qint32> bitrates;
    const BitrateOf analysed = [&bitrates](const QString& path) {
        const std::optional<qint32> bitrate = AnalysedBitrate(path);
        if (bitrate) {
            bitrates.insert(path, *bitrate);
        }
        return bitrate;
    };
    RowPlans rows = PlanRows(options, candidates, analysed);
    for (RowPlan& row : rows.rows) {
        switch (row.action) {
            case RowPlan::Action::Reduce:
            case RowPlan::Action::Replace:
                plan.reductions.push_back(
                    {.source = row.source,
                     .output = row.output,
                     .sourceBytes = row.sourceBytes,
                     .replace = row.action == RowPlan::Action::Replace,
                     .renamed = row.renamed,
                     .recordRoot = row.recordRoot,
                     .expectedThere = row.expectedThere,
                     .sourceBitrate = bitrates.contains(row.source)
                                          ? std::optional<qint32>(bitrates.value(row.source))
                                          : std::nullopt});
                break;
            case RowPlan::Action::Skip:
                plan.skipped.push_back({row.source, row.reason, row.output});
                break;
            case RowPlan::Action::Fail:
                plan.failed.push_back({row.source, row.reason});
                break;
        }
    }
    plan.takeOvers = std::move(rows.takeOvers);
    plan.gone = rows.gone;
    plan.warnings = std::move(rows.warnings);
    return plan;
}

}  // namespace

QString Absolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

Plan MakeReducePlan(const PlanSettings& settings, const QStringList& paths) {
    Plan plan;
    const std::vector<Candidate> candidates = CollectCandidates(paths, plan);
    return PlanCandidates(settings, candidates, std::move(plan));
}

}  // namespace mirelune::cli

#include "cli/ReducePlan.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <set>

#include "filelist/FileDrop.h"
#include "filelist/RefusedFiles.h"
#include "mp3/BitrateText.h"
#include "mp3/MP3Info.h"
#include "reduce/OutputNaming.h"
#include "reduce/ReductionOutcome.h"
#include "shell/FileIdentity.h"
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

// Every name is decided here, in list order, before anything runs: running
// encoders side by side cannot change which file gets which name.
Plan PlanCandidates(const PlanSettings& settings, const std::vector<Candidate>& candidates,
                    Plan plan) {
    OutputNames names;
    for (const Candidate& c : candidates) {
        names.protectSource(c.source);
    }
    std::set<QString> seen;
    for (const Candidate& c : candidates) {
        const std::optional<FileIdentity> identity = IdentityOf(c.source);
        if (!seen.insert(identity ? identity->key() : c.source).second) {
            plan.skipped.push_back({c.source, QStringLiteral("listed more than once")});
            continue;
        }
        const std::optional<qint32> bitrate = Mp3Bitrate(c.source);
        if (!bitrate) {
            plan.skipped.push_back({c.source, QStringLiteral("not a valid MP3 file")});
            continue;
        }
        if (settings.skipLower && *bitrate <= settings.kbps * 1000) {
            plan.skipped.push_back(
                {c.source, QStringLiteral("already %1, at or below the target")
                               .arg(QString::fromStdString(mp3::BitrateText(*bitrate)))});
            continue;
        }
        QString folder = settings.beside ? FolderOf(c.source) : settings.outputFolder;
        if (settings.keepTree && !c.subFolder.isEmpty()) {
            folder += QChar(kPathSeparator) + c.subFolder;
        }
        const QString output = OutputPathFor(folder, c.source);
        if (output.isEmpty()) {
            plan.failed.push_back({c.source, reason::WouldOverwriteSource()});
            continue;
        }
        plan.reductions.push_back(
            {c.source, names.claim(c.source, output), QFileInfo(c.source).size()});
    }
    return plan;
}

}  // namespace

QString Absolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

std::optional<qint32> Mp3Bitrate(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) {
        return std::nullopt;  // FIFOs and devices are never opened
    }
    try {
        mp3::MP3Info mp3;
        if (mp3.ReadMP3Info(QFile::encodeName(path).toStdString())) {
            return mp3.Bitrate();
        }
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

Plan MakeReducePlan(const PlanSettings& settings, const QStringList& paths) {
    Plan plan;
    const std::vector<Candidate> candidates = CollectCandidates(paths, plan);
    return PlanCandidates(settings, candidates, std::move(plan));
}

}  // namespace mirelune::cli

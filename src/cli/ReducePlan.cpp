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

// Whether a source is taken at all, before its output is worked out.
std::optional<QString> Refusal(const PlanSettings& settings, const QString& source) {
    const std::optional<qint32> bitrate = Mp3Bitrate(source);
    if (!bitrate) {
        return QStringLiteral("not a valid MP3 file");
    }
    if (settings.skipLower && *bitrate <= settings.kbps * 1000) {
        return QStringLiteral("already %1, at or below the target")
            .arg(QString::fromStdString(mp3::BitrateText(*bitrate)));
    }
    return std::nullopt;
}

// Every name is decided here, in list order, before anything runs: running
// encoders side by side cannot change which file gets which name. All
// wanted outputs are known before the first name is given, so a listed file
// that is another source's result is known as such wherever it is listed.
Plan PlanCandidates(const PlanSettings& settings, const std::vector<Candidate>& candidates,
                    Plan plan) {
    struct Entry {
        const Candidate& candidate;
        QString skip;    // why it is not taken at all
        QString wanted;  // its output before any " (2)"; empty: only the source is left
    };
    OutputNames names;
    std::vector<Entry> entries;
    std::set<QString> seen;
    for (const Candidate& c : candidates) {
        names.protectSource(c.source);
        const std::optional<FileIdentity> identity = IdentityOf(c.source);
        if (!seen.insert(identity ? identity->key() : c.source).second) {
            entries.push_back({c, QStringLiteral("listed more than once"), {}});
            continue;
        }
        if (const auto refusal = Refusal(settings, c.source)) {
            entries.push_back({c, *refusal, {}});
            continue;
        }
        QString folder = settings.beside ? FolderOf(c.source) : settings.outputFolder;
        if (settings.keepTree && !c.subFolder.isEmpty()) {
            folder += QChar(kPathSeparator) + c.subFolder;
        }
        const QString wanted = OutputPathFor(folder, c.source);
        if (!wanted.isEmpty()) {
            names.noteWanted(c.source, wanted);
        }
        entries.push_back({c, {}, wanted});
    }

    for (const Entry& e : entries) {
        const QString& source = e.candidate.source;
        if (!e.skip.isEmpty()) {
            plan.skipped.push_back({source, e.skip});
            continue;
        }
        if (e.wanted.isEmpty()) {
            plan.failed.push_back({source, reason::WouldOverwriteSource()});
            continue;
        }
        if (const auto producer = names.resultOf(source)) {
            plan.skipped.push_back({source, reason::ResultOf(*producer)});
            continue;
        }
        const OutputChoice choice = names.decide(source, e.wanted);
        if (choice.kind == OutputChoice::Kind::TooLong) {
            plan.failed.push_back({source, reason::NameTooLong()});
            continue;
        }
        if (choice.kind == OutputChoice::Kind::Exists && !settings.overwrite) {
            plan.skipped.push_back({source, reason::Exists()});
            continue;
        }
        names.claim(source, choice.path);
        plan.reductions.push_back(
            {source, choice.path, QFileInfo(source).size(), settings.overwrite});
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

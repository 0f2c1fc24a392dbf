// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ReducePlan.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <map>
#include <set>

#include "cli/ListedResults.h"
#include "filelist/FileDrop.h"
#include "filelist/RefusedFiles.h"
#include "mp3/BitrateText.h"
#include "mp3/MP3Info.h"
#include "reduce/OutputNaming.h"
#include "reduce/RecordedResults.h"
#include "reduce/ReductionOutcome.h"
#include "reduce/ResultFile.h"
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

// Why a valid MP3 source is not taken, before its output is worked out.
std::optional<QString> Refusal(const PlanSettings& settings, qint32 bitrate) {
    if (settings.skipLower && bitrate <= settings.kbps * 1000) {
        return QStringLiteral("already %1, at or below the target")
            .arg(QString::fromStdString(mp3::BitrateText(bitrate)));
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
        explicit Entry(const Candidate& c, QString skip = {},
                       std::optional<QString> refusal = std::nullopt, bool again = false)
            : candidate(c), skip(std::move(skip)), refusal(std::move(refusal)), again(again) {}
        const Candidate& candidate;
        QString skip;  // why it is not taken at all
        std::optional<QString> refusal;
        bool again = false;  // listed before: the first listing speaks for it
        bool folderRenamed = false;
        QString recordRoot;
        std::optional<RecordedResults::Match> recorded;
    };
    std::vector<Entry> entries;
    std::vector<ListedFile> listed;
    std::set<QString> seen;
    OutputNames names;
    RecordedResults records;
    for (const Candidate& c : candidates) {
        records.noteListed(c.source);
    }
    for (const Candidate& c : candidates) {
        // Another run's result still being written, as when shards --beside
        // run at once: neither a source nor a result yet.
        if (IsTemporaryResultName(FileNameOf(c.source))) {
            continue;
        }
        const QString root =
            QDir::cleanPath(settings.beside ? FolderOf(c.source) : settings.outputFolder);
        // A recorded result keeps its name: no other source is given it.
        for (const RecordedResults::Held& held : records.read(root)) {
            names.claim(held.holder, held.path);
        }
        if (const std::optional<QString> producer = records.sourceOf(c.source)) {
            entries.emplace_back(c, reason::ResultOf(*producer));
            listed.push_back({c.source, false, {}});
            continue;
        }
        const std::optional<FileIdentity> identity = IdentityOf(c.source);
        if (!seen.insert(identity ? identity->key() : c.source).second) {
            entries.emplace_back(c, QStringLiteral("listed more than once"), std::nullopt, true);
            listed.push_back({c.source, false, {}});
            continue;
        }
        const std::optional<qint32> bitrate = Mp3Bitrate(c.source);
        if (!bitrate) {
            entries.emplace_back(c, QStringLiteral("not a valid MP3 file"));
            listed.push_back({c.source, false, {}});
            continue;
        }
        Entry entry(c, {}, Refusal(settings, *bitrate));
        entry.recordRoot = root;
        QString wanted;
        if (!entry.refusal) {
            entry.recorded = records.resultFor(root, c.source);
            QString folder = settings.beside ? FolderOf(c.source) : settings.outputFolder;
            if (settings.keepTree && !c.subFolder.isEmpty()) {
                folder = names.targetFolder(folder, c.subFolder);
                entry.folderRenamed =
                    folder !=
                    CollapseSeparators(settings.outputFolder + QChar(kPathSeparator) + c.subFolder);
            }
            // Empty when only the source itself is left: a failure, below.
            wanted = OutputPathFor(folder, c.source);
        }
        entries.push_back(entry);
        listed.push_back({c.source, true, wanted});
    }

    const std::vector<std::optional<std::size_t>> resultOf = FindListedResults(listed);
    const auto taken = [&](std::size_t i) {
        return entries[i].skip.isEmpty() && !resultOf[i] && !entries[i].refusal &&
               !listed[i].wanted.isEmpty();
    };
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!resultOf[i] && !entries[i].again) {
            names.protectSource(entries[i].candidate.source);
        }
    }
    std::vector<OutputChoice> choices(entries.size());
    std::map<QString, std::size_t> givenTo;  // place of a name given -> its source
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (taken(i) && entries[i].recorded) {
            choices[i] = {entries[i].recorded->path, OutputChoice::Kind::Ours};
            names.claim(listed[i].path, choices[i].path);  // a moved source's, from now on
            givenTo.emplace(PlaceKey(choices[i].path), i);
        } else if (taken(i)) {
            choices[i] = names.decide(listed[i].path, listed[i].wanted);
            if (choices[i].kind != OutputChoice::Kind::TooLong) {
                // Claimed even when a file is there already, so the next source
                // with the same name is numbered as when this result is not there.
                names.claim(listed[i].path, choices[i].path);
                givenTo.emplace(PlaceKey(choices[i].path), i);
            }
        }
    }

    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        const QString& source = e.candidate.source;
        const OutputChoice& choice = choices[i];
        if (!e.skip.isEmpty()) {
            plan.skipped.push_back({source, e.skip});
        } else if (resultOf[i]) {
            // Among sources with one wanted name, the one given this number.
            const auto given = givenTo.find(PlaceKey(source));
            const std::size_t producer = given != givenTo.end() ? given->second : *resultOf[i];
            plan.skipped.push_back({source, reason::ResultOf(listed[producer].path)});
        } else if (e.refusal) {
            plan.skipped.push_back({source, *e.refusal});
        } else if (listed[i].wanted.isEmpty()) {
            plan.failed.push_back({source, reason::WouldOverwriteSource()});
        } else if (e.recorded) {
            if (e.recorded->takeOver) {
                plan.takeOvers.push_back({e.recordRoot, *e.recorded->takeOver});
            }
            const bool outdated = e.recorded->state == RecordedResults::State::Outdated;
            if (settings.overwrite || (outdated && settings.refresh)) {
                plan.reductions.push_back(
                    {source, choice.path, QFileInfo(source).size(), true,
                     !IsWantedOrNumbered(choice.path, listed[i].wanted), e.recordRoot,
                     settings.overwrite ? std::nullopt
                                        : std::optional<FileStamp>(e.recorded->resultStamp)});
            } else {
                plan.skipped.push_back(
                    {source, outdated ? reason::Outdated() : reason::Exists(), choice.path});
            }
        } else if (choice.kind == OutputChoice::Kind::TooLong) {
            plan.failed.push_back({source, reason::NameTooLong()});
        } else if (choice.kind == OutputChoice::Kind::Exists && !settings.overwrite) {
            plan.skipped.push_back({source, reason::Exists(), choice.path});
        } else {
            plan.reductions.push_back({source, choice.path, QFileInfo(source).size(),
                                       settings.overwrite, choice.renamed || e.folderRenamed,
                                       e.recordRoot, std::nullopt});
        }
    }
    plan.gone = records.goneCount();
    plan.warnings = records.warnings();
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

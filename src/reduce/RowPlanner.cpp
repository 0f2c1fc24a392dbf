// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/RowPlanner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <map>

#include "landing/ListedResults.h"
#include "landing/OutputNaming.h"
#include "landing/ResultFile.h"
#include "mp3/BitrateText.h"
#include "mp3/MP3Info.h"
#include "reduce/ReductionOutcome.h"
#include "runs/RecordedResults.h"
#include "shell/PathHelpers.h"
#include "shell/Place.h"

namespace mirelune {
namespace {

// Why a valid MP3 source is not taken, before its output is worked out.
std::optional<QString> Refusal(const PlannerOptions& options, qint32 bitrate) {
    if (options.skipAtOrBelow && bitrate <= *options.skipAtOrBelow) {
        return QStringLiteral("already %1, at or below the target")
            .arg(QString::fromStdString(mp3::BitrateText(bitrate)));
    }
    return std::nullopt;
}

}  // namespace

std::optional<qint32> AnalysedBitrate(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        return std::nullopt;
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

RowPlans PlanRows(const PlannerOptions& options, const std::vector<Candidate>& candidates,
                  const BitrateOf& bitrateOf, const NameTrial& trial) {
    struct Entry {
        explicit Entry(std::size_t index, const Candidate& c, QString skip = {},
                       std::optional<QString> refusal = std::nullopt, bool again = false)
            : index(index),
              candidate(c),
              skip(std::move(skip)),
              refusal(std::move(refusal)),
              again(again) {}
        std::size_t index;
        const Candidate& candidate;
        QString skip;  // why it is not taken at all
        std::optional<QString> refusal;
        bool again = false;  // listed before: the first listing speaks for it
        bool folderRenamed = false;
        std::optional<std::size_t> repeatOf;  // the entry of its first listing
        QString producer;                     // whose recorded result it is
        QString recordRoot;
        std::optional<RecordedResults::Match> recorded;
    };
    RowPlans plan;
    std::vector<Entry> entries;
    std::vector<ListedFile> listed;
    std::map<QString, std::size_t> seen;  // a listed source's key -> its first entry
    OutputNames names(options.tryNames ? trial : NameTrial(&GuessName));
    RecordedResults records;
    for (const Candidate& c : candidates) {
        records.noteListed(c.source);
    }
    for (std::size_t index = 0; index < candidates.size(); ++index) {
        const Candidate& c = candidates[index];
        // Another run's result still being written, as when shards --beside
        // run at once: neither a source nor a result yet.
        if (IsTemporaryResultName(FileNameOf(c.source))) {
            continue;
        }
        const QString root =
            QDir::cleanPath(options.beside ? FolderOf(c.source) : options.outputFolder);
        // A recorded result keeps its name: no other source is given it.
        for (const RecordedResults::Held& held : records.read(root)) {
            names.claim(held.holder, held.path);
        }
        if (const std::optional<QString> producer = records.sourceOf(c.source)) {
            entries.emplace_back(index, c, reason::ResultOf(*producer));
            entries.back().producer = *producer;
            listed.push_back({c.source, false, {}});
            continue;
        }
        // A source gone since it was listed counts by its text alone.
        const Place place(c.source);
        const auto [first, isFirst] =
            seen.emplace(place.identity() ? place.fileKey() : c.source, entries.size());
        if (!isFirst) {
            entries.emplace_back(index, c, QStringLiteral("listed more than once"), std::nullopt,
                                 true);
            if (options.repeatsRunAgain) {
                entries.back().repeatOf = first->second;
            }
            listed.push_back({c.source, false, {}});
            continue;
        }
        const std::optional<qint32> bitrate = bitrateOf(c.source);
        if (!bitrate) {
            entries.emplace_back(index, c, QStringLiteral("not a valid MP3 file"));
            listed.push_back({c.source, false, {}});
            continue;
        }
        Entry entry(index, c, {}, Refusal(options, *bitrate));
        entry.recordRoot = root;
        QString wanted;
        if (!entry.refusal) {
            entry.recorded = records.resultFor(root, c.source);
            QString folder = options.beside ? FolderOf(c.source) : options.outputFolder;
            if (options.keepTree && !c.subFolder.isEmpty()) {
                folder = names.targetFolder(folder, c.subFolder);
                entry.folderRenamed =
                    folder !=
                    CollapseSeparators(options.outputFolder + QChar(kPathSeparator) + c.subFolder);
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
            givenTo.emplace(Place(choices[i].path).text(), i);
        } else if (taken(i)) {
            choices[i] = names.decide(listed[i].path, listed[i].wanted);
            if (choices[i].kind != OutputChoice::Kind::TooLong) {
                // Claimed even when a file is there already, so the next source
                // with the same name is numbered as when this result is not there.
                names.claim(listed[i].path, choices[i].path);
                givenTo.emplace(Place(choices[i].path).text(), i);
            }
        }
    }

    using Action = RowPlan::Action;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        const QString& source = e.candidate.source;
        const OutputChoice& choice = choices[i];
        if (e.repeatOf) {
            // Made again into its first listing's place, replacing that result.
            RowPlan row = plan.rows[*e.repeatOf];
            row.candidate = e.index;
            if (row.action == Action::Reduce) {
                row.action = Action::Replace;
            }
            plan.rows.push_back(std::move(row));
            continue;
        }
        RowPlan row{source, e.index};
        row.recordRoot = e.recordRoot;
        if (!e.skip.isEmpty()) {
            row.reason = e.skip;
            row.producer = e.producer;
        } else if (resultOf[i]) {
            // Among sources with one wanted name, the one given this number.
            const auto given = givenTo.find(Place(source).text());
            const std::size_t producer = given != givenTo.end() ? given->second : *resultOf[i];
            row.reason = reason::ResultOf(listed[producer].path);
            row.producer = listed[producer].path;
        } else if (e.refusal) {
            row.reason = *e.refusal;
        } else if (listed[i].wanted.isEmpty()) {
            row.action = Action::Fail;
            row.reason = reason::WouldOverwriteSource();
        } else if (e.recorded) {
            if (e.recorded->takeOver) {
                plan.takeOvers.push_back({e.recordRoot, *e.recorded->takeOver});
            }
            const bool outdated = e.recorded->state == RecordedResults::State::Outdated;
            row.output = choice.path;
            if (options.overwrite || (outdated && options.refresh)) {
                row.action = Action::Replace;
                row.renamed = !IsWantedOrNumbered(choice.path, listed[i].wanted);
                if (!options.overwrite) {
                    row.expectedThere = e.recorded->resultStamp;
                }
            } else {
                row.reason = outdated ? reason::Outdated() : reason::Exists();
                row.action = options.ask ? Action::Replace : Action::Skip;
            }
        } else if (choice.kind == OutputChoice::Kind::TooLong) {
            row.action = Action::Fail;
            row.reason = reason::NameTooLong();
        } else if (choice.kind == OutputChoice::Kind::Exists && !options.overwrite) {
            row.output = choice.path;
            row.reason = reason::Exists();
            row.action = options.ask ? Action::Replace : Action::Skip;
        } else {
            row.action = options.overwrite ? Action::Replace : Action::Reduce;
            row.output = choice.path;
            row.renamed = choice.renamed || e.folderRenamed;
        }
        if (row.action == Action::Reduce || row.action == Action::Replace) {
            row.sourceBytes = QFileInfo(source).size();
        }
        plan.rows.push_back(std::move(row));
    }
    plan.gone = records.goneCount();
    plan.warnings = records.warnings();
    return plan;
}

}  // namespace mirelune

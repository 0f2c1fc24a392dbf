// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "landing/TargetNames.h"
#include "reduce/RowPlan.h"
#include "runs/ResultJournal.h"

namespace mirelune {

// A listed file, and for a kept tree the folder it sits in relative to the
// folder it came from.
struct Candidate {
    QString source;
    QString subFolder;
};

// What decides which files a job takes and where each result goes.
struct PlannerOptions {
    QString outputFolder{};  // empty when results go beside their sources
    bool beside = false;
    bool keepTree = false;
    // Sources at or below this bitrate (bits per second) are left alone.
    std::optional<qint32> skipAtOrBelow{};
    // Results replace files already at their output paths; without it such a
    // file is left alone and its source skipped.
    bool overwrite = false;
    // Without overwrite: a row that would replace a file is planned to
    // replace it, with the reason it is skipped for when the user says no.
    bool ask = false;
    // A source listed again is reduced again into its first result's place;
    // otherwise it is skipped, its first listing speaking for it.
    bool repeatsRunAgain = false;
    // Results of sources that changed since they were made are made again,
    // each into its own place, as long as it still holds that result.
    bool refresh = false;
    // Names may be tried on targets whose rules are learnt by trying, by
    // making files in a private probe folder there; otherwise they are
    // judged without touching any target (GuessName), so planning changes
    // nothing, not even a folder's time.
    bool tryNames = false;
};

// A result that moved with its source, recorded for the source's new path
// by a real run before anything is reduced.
struct TakeOver {
    QString recordRoot;
    ResultRecord record;
};

struct RowPlans {
    // One per candidate, in list order, but for another run's result still
    // being written: neither a source nor a result yet.
    std::vector<RowPlan> rows;
    std::vector<TakeOver> takeOvers;
    // Recorded results whose sources are gone: kept, and counted.
    int gone = 0;
    // Records passed over for their size, one line each.
    std::vector<QString> warnings;
};

// Whether a file is an MP3 stream, and its bitrate in bits per second.
using BitrateOf = std::function<std::optional<qint32>(const QString&)>;

// The bitrate the analysis reads from a regular file; nothing for anything
// else, which is never opened (a FIFO would block).
std::optional<qint32> AnalysedBitrate(const QString& path);

// Every row's plan, in list order, before anything runs: running encoders
// side by side cannot change which file gets which name. All wanted outputs
// are known before the first name is given, so a listed file that is
// another source's result is known as such wherever it is listed, and a
// name is given even where a file already holds it: the names depend only
// on the sources, never on which results are there yet. Nothing is written
// but, with tryNames, the trials' files in their probe folders.
// trial is how names are tried where options.tryNames lets them be.
RowPlans PlanRows(const PlannerOptions& options, const std::vector<Candidate>& candidates,
                  const BitrateOf& bitrateOf, const NameTrial& trial = &TryName);

}  // namespace mirelune

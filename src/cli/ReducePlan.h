// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>
#include <utility>
#include <vector>

#include "encoder/SourceFacts.h"
#include "folders/FileStamp.h"
#include "runs/ResultJournal.h"
#include "reduce/RowPlanner.h"

namespace mirelune::cli {

// What decides which files a reduce run takes and where each result goes.
struct PlanSettings {
    int kbps = 128;
    QString outputFolder;  // empty with --beside
    bool beside = false;
    bool keepTree = false;
    bool skipLower = false;
    // Results replace files already at their output paths; without it such a
    // file is left alone and its source skipped, so a run that was stopped
    // can simply be run again.
    bool overwrite = false;
    // Results of sources that changed since they were made are made again,
    // each into its own place, as long as it still holds that result.
    bool refresh = false;
    // A real run tries names where a target's rules must be learnt so; a dry
    // run, which changes nothing, judges them (PlannerOptions::tryNames).
    bool tryNames = false;
};

struct PlannedReduction {
    QString source;
    QString output;
    qint64 sourceBytes = 0;
    bool replace = false;
    // The target refused the name (or a --keep-tree folder's name) the
    // result would have had, and output is the one it takes.
    bool renamed = false;
    // The folder whose journal gets the result's record.
    QString recordRoot{};
    // A result made again: it replaces only a file with this stamp.
    std::optional<FileStamp> replacing{};
    // What the result's size depends on in the source, once read.
    std::optional<encoder::SourceFacts> facts{};
};

// One line per file that is not reduced, printed in list order.
struct Note {
    Note(QString path, QString text, QString output = {})
        : path(std::move(path)), text(std::move(text)), output(std::move(output)) {}

    QString path;
    QString text;
    QString output;  // the output path it was given, if any
};

struct Plan {
    std::vector<PlannedReduction> reductions;
    std::vector<TakeOver> takeOvers;
    std::vector<Note> skipped;
    std::vector<Note> failed;
    // Recorded results whose sources are gone: kept, and counted.
    int gone = 0;
    // Records passed over for their size, one line each.
    std::vector<QString> warnings;
};

// Walks the given paths as the window's drop would and decides, in list
// order and before anything runs, each file's output or why it is left out.
// Listed files that are results of other listed files are left out before
// any name is given, and a name is given even where a file already holds it:
// the names depend only on the sources, never on which results are there
// yet, so a job split into shards names every file as one run would.
Plan MakeReducePlan(const PlanSettings& settings, const QStringList& paths);

// The path made absolute, "." and ".." resolved.
QString Absolute(const QString& path);

}  // namespace mirelune::cli

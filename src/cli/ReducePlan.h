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
#include "reduce/RowPlanner.h"
#include "runs/ResultJournal.h"

namespace mirelune::cli {

// What decides which files a reduce run takes and where each result goes.
struct PlanSettings {
    int kbps = 128;
    // Sources at or below kbps are left alone (--skip-lower).
    bool skipLower = false;
    // Where results go and what they may replace. A real run tries names
    // where a target's rules must be learnt so; a dry run, which changes
    // nothing, judges them. The command line never asks, and a source listed
    // twice is taken once.
    PlannerOptions where{};
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
    std::optional<FileStamp> expectedThere{};
    // What the result's size depends on in the source, once read.
    std::optional<encoder::SourceFacts> facts{};
    // The source's bitrate in bits per second, as the analysis reads it.
    std::optional<qint32> sourceBitrate{};
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

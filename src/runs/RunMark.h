// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "runs/RunLiveness.h"

namespace mirelune {

// This process's run tag: letters and digits, chosen once, carried by the
// names of its temporary results (see TemporaryResultName.h).
QString RunTag();

// Where a folder keeps what runs write about themselves: "<folder>/.mirelune".
QString RunFolderIn(const QString& folder);

// The mark of run tag runTag in folder: "<folder>/.mirelune/<tag>.run".
QString RunMarkPath(const QString& folder, const QString& runTag);

// This run's mark in one output folder, held while a file the run is making
// may be there. The first of several holds at once writes the mark, each
// later one refreshes its time, and the last to go removes it. The first hold
// of a folder in this process that is given a sweep then has it clear the folder
// of what dead runs left (what they leave is known where results land, not here).
// Used on one thread.
class RunMarkHold {
  public:
    using FolderSweep = void (*)(const QString& folder, const TargetClock& clock);
    explicit RunMarkHold(const QString& folder, FolderSweep sweep = nullptr);
    ~RunMarkHold();
    RunMarkHold(const RunMarkHold&) = delete;
    RunMarkHold& operator=(const RunMarkHold&) = delete;

    // Whether the mark is in place: only then may temporary names carry the
    // run tag, for a tag without its mark is taken for a dead run's.
    bool marked() const { return marked_; }

    // Writes the file names (in the folder) into the mark, flushed, before
    // the run creates them: a file at such a name that a dead run left empty
    // or part-written is known as its leftover. False with errno set when
    // they could not be; then they must not be created.
    bool announce(const QList<QByteArray>& fileNames);

    // The names no longer need the mark: they hold what the run meant them
    // to hold, or nothing. Every name this hold announced is settled when it
    // goes.
    void settle(const QList<QByteArray>& fileNames);

    // The target's clock, as the mark's time showed it when it was written or
    // refreshed; the local clock where there is no mark.
    const TargetClock& clock() const { return clock_; }

  private:
    QString folder_;
    QString key_;  // one for every spelling of the folder
    bool marked_ = false;
    TargetClock clock_;
    QList<QByteArray> announced_;
};

}  // namespace mirelune

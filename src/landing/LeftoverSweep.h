// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include "runs/RunLiveness.h"

namespace mirelune {

// A run killed outright (power loss, kill -KILL) cannot clean up after
// itself; the next run that writes to the same places does, but never touches
// what a run that may still be going holds, on this machine or on another
// one writing into the same shared folder.

// Whether the temporary result fileName, last changed at touched, in folder
// belongs to no running run. A run's file goes with its run (see
// RunMarkIsDead); one whose run mark is missing was left by a run that has
// let the folder go, and goes after an hour without change, which no live
// encoder lets pass; one of the encoder run alone carries no owner, and goes
// after a day without change.
bool TemporaryResultIsDead(const QString& folder, const QString& fileName, const QDateTime& touched,
                           const TargetClock& clock);

// Removes from folder the temporary results, the output-name reservations
// and the files left at announced names (see RunMarkHold::announce) of runs
// that cannot be running any more, then those runs' marks.
void SweepResultFolder(const QString& folder, const TargetClock& clock);

// The file in an encoder folder that says whose it is.
inline constexpr char kEncoderFolderMark[] = "owner";

// Removes the encoder folders ("mirelune-XXXXXX") of runs that cannot be
// running any more from each of bases: only folders of this user that hold
// nothing but the encoder, program (its file name), and its mark.
void SweepEncoderFolders(const QStringList& bases, const QDateTime& now, const QString& program);

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include "folders/RealFolders.h"
#include "runs/RunLiveness.h"

namespace mirelune {

// A held name holds a few lines: nothing bigger is one.
inline constexpr qint64 kMaxReservationBytes = 512;

// What may follow the unfinished mark in a held file.
enum class HeldContent {
    MarkOnly,      // nothing: the file holds no user data
    CopyCutShort,  // anything: a copy into our own held file was cut short
};

// Whether bytes, a file's content (or its head) last changed at touched,
// are the unfinished mark (the mark line, the owner's lines and a tag) of a
// run that cannot be running any more (see OwnerIsDead). Such a file is never
// a result: whoever wants its name may remove it.
bool IsDeadReservationText(const QByteArray& bytes, const QDateTime& touched,
                           const TargetClock& clock, HeldContent held = HeldContent::MarkOnly);

// Whether head, the first bytes (up to kMaxReservationBytes) of a file at a
// name that owner's run announced, is what that run left there: nothing,
// part of its unfinished mark, or the whole mark and anything after it (a
// copy cut short). A file at such a name that holds anything else is not the
// run's.
bool IsLeftoverHead(const QByteArray& head, const RunOwner& owner);

// The same for the file at path: a regular file (a link is not followed),
// its head read without waiting. Only the mark, for another user's file;
// the mark and a copy cut short, or a leftover at a name a dead run
// announced (IsLeftoverHead), for one of the running user's. Judged by the
// local clock unless a run's own is given.
bool IsDeadReservation(const QString& path, const TargetClock& clock = TargetClock::Local());

#ifdef Q_OS_UNIX
// The rule of IsDeadReservation for file, the head of name in a folder whose
// record folder holds marks; ofOurs is what may follow the mark in a file of
// the running user's at a name no dead run announced.
bool IsDeadReservationFile(const QByteArray& name, const SmallFile& file,
                           const QList<RunMarkSeen>& marks, const TargetClock& clock,
                           HeldContent ofOurs);
#endif

// Removes the file at path when IsDeadReservation, and only that file (not
// one put at its name meanwhile). Whether it was removed.
bool RemoveDeadReservation(const QString& path, const TargetClock& clock);

}  // namespace mirelune

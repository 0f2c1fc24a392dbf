// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QtGlobal>
#include <optional>

#ifdef Q_OS_UNIX
#include <sys/types.h>
#endif

#include "runs/MachineFacts.h"
#include "runs/RunOwner.h"

namespace mirelune {

// Files a run leaves behind say whose they are (see RunOwner.h). Another run
// decides from them alone whether the writer can still be running, so the
// rule works on any medium, shared ones and FAT included: no locks, no
// attributes.
//
// QLockFile's rules are not enough here: it knows a host name, a pid and an
// application name, so two containers or two cloned machines with one host
// name take each other's live runs for dead, a reused pid or a zombie passes
// for alive, and its stale time is measured by the reader's clock against
// the writer's. Its lock is also one file per resource, where a run here
// holds many names through one mark.

// This machine's name as marks hold it; never empty, never more than a line.
QByteArray HostName();

// This process as its marks name it.
RunOwner OwnerOfThisProcess(const MachineFacts& facts = SystemFacts());

// OwnerOfThisProcess().lines().
QByteArray OwnerLines();

// A run that cannot be asked whether it still runs goes after its mark was
// left untouched this long: no encode keeps a file this long without a sign
// of life.
inline constexpr qint64 kForeignQuietSeconds = 24 * 60 * 60;

// The clock a mark's time is read against. During a run it is the target's
// own: the time of a file the run has just written there, so a machine whose
// clock is off judges a share's files as the share stamps them. While
// planning, which writes nothing, it is the local clock.
struct TargetClock {
    QDateTime now;       // the target's time now
    qint64 aheadMs = 0;  // how far the target's clock is ahead of the local one

    static TargetClock Local();
    static TargetClock Of(const QDateTime& targetNow, const QDateTime& localNow);
};

// Whether the owner of a mark last touched at touched cannot be running.
// Same machine, boot and pid namespace: its process is gone, a zombie, or
// another process with its pid (a start time that differs). Same machine and
// namespace, another boot: the mark is older than this boot. Otherwise (another machine
// or namespace, a clone, or a mark of the host-and-pid format from another
// host): the mark is more than kForeignQuietSeconds away from now, on
// either side: a mark stamped a day ahead of the target's clock was stamped
// by a clock that cannot be trusted, and would otherwise block its names for
// as long as the clocks differ.
bool OwnerIsDead(const RunOwner& owner, const QDateTime& touched, const TargetClock& clock,
                 const MachineFacts& facts = SystemFacts());

// Whether touched is more than kForeignQuietSeconds away from the clock's now.
bool QuietTooLong(const QDateTime& touched, const TargetClock& clock);

class FolderHandle;

// A mark file: a small file holding its first line and the owner's lines.
// Written whole (new file, never through a link), so a reader sees the lines
// or no file. False with errno set when it could not be.
bool WriteRunMark(const QString& path);
bool WriteRunMarkIn(const FolderHandle& folder, const QByteArray& name);

// Whether the mark name in folder names an owner that cannot be running.
// Read without following a link or waiting, and at most kMaxRunMarkBytes: a
// mark cut short, or a file that is none (a link, a FIFO, anything longer),
// counts as another machine's.
bool RunMarkIsDeadIn(const FolderHandle& folder, const QByteArray& name, const TargetClock& clock);

#ifdef Q_OS_UNIX
// One file of a record folder that has a mark's name, as read once.
struct RunMarkSeen {
    QByteArray tag;  // the name without ".run"
    uid_t owner = 0;
    bool dead = false;
    // Only where the run is dead and the file a mark of ours.
    std::optional<RunOwner> run;
    QList<QByteArray> announced;
};

// The marks of the open record folder: regular files named "<tag>.run".
QList<RunMarkSeen> RunMarksIn(const FolderHandle& runs, const TargetClock& clock);
#endif

// The modification time of a status, for the rules above.
QDateTime ModifiedTimeOf(qint64 seconds, qint64 nanoseconds);

}  // namespace mirelune

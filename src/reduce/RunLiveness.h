// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

namespace mirelune {

// Files a run leaves behind say whose they are: the machine's name and the
// process id, one to a line. Another run decides from them alone whether the
// writer can still be running, so the rule works on any medium, shared ones
// and FAT included: no locks, no attributes.

// This machine's name as marks hold it; never empty, never more than a line.
QByteArray HostName();

// "<host>\n<pid>\n" of this process.
QByteArray OwnerLines();

// A run on another machine cannot be asked whether it still runs; no encode
// keeps a file this long without a sign of life.
inline constexpr qint64 kForeignQuietSeconds = 24 * 60 * 60;

// Whether the owner named by host and pid (as text, from a mark) cannot be
// running: one of this machine whose process is gone, or one of another
// machine whose mark was last touched more than kForeignQuietSeconds before
// now. A pid that is no number is never taken for dead.
bool OwnerIsDead(const QByteArray& host, const QByteArray& pid, const QDateTime& touched,
                 const QDateTime& now);

class FolderHandle;

// The run mark: a small file holding kRunMarkLine and the owner's lines.
// Written whole (new file, never through a link), so a reader sees the lines
// or no file. False with errno set when it could not be.
bool WriteRunMark(const QString& path);
bool WriteRunMarkIn(const FolderHandle& folder, const QByteArray& name);

// Whether the run mark at path (name in folder) names an owner that cannot be
// running. Read without following a link or waiting, and at most a few
// hundred bytes: a mark cut short, or a file that is none (a link, a FIFO,
// anything longer), counts as another machine's.
bool RunMarkIsDead(const QString& path, const QDateTime& now);
bool RunMarkIsDeadIn(const FolderHandle& folder, const QByteArray& name, const QDateTime& now);

// The modification time of a status, for the rules above.
QDateTime ModifiedTimeOf(qint64 seconds, qint64 nanoseconds);

}  // namespace mirelune

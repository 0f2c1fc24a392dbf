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

// The run mark: a small file holding kRunMarkLine and the owner's lines.
// Written whole (new file), so a reader sees the lines or no file.
bool WriteRunMark(const QString& path);

// Whether the run mark at path names an owner that cannot be running. A
// mark cut short, or a file that is none, counts as another machine's.
bool RunMarkIsDead(const QString& path, const QDateTime& now);

}  // namespace mirelune

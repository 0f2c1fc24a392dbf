// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>
#include <ctime>
#include <optional>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace mirelune {

// What tells one version of a file from another without reading it: its
// size and modification time (milliseconds since the epoch, UTC).
struct FileStamp {
    qint64 size = 0;
    qint64 modifiedMs = 0;
};

// The stamp of the regular file at path (a link is followed); nothing for a
// folder, a missing file or anything else.
std::optional<FileStamp> StampOf(const QString& path);

#ifdef Q_OS_UNIX
// The stamp a file's status gives.
FileStamp StampOfStatus(const struct stat& status);
#endif

// Equal sizes, and times within the same two seconds: FAT keeps times in
// two-second steps, so a time set on a stick reads back rounded down.
bool SameStamp(const FileStamp& a, const FileStamp& b);

// Now, rounded down to an even second: a time every file system keeps
// exactly, so a result's recorded stamp is the one it reads back with.
qint64 StampTimeNow();

// Both times of a file (access and modification) as utimensat and futimens
// take them: the same instant. Stick drivers (exfat-fuse, fusefat) ignore a
// modification time set alone.
struct TimesOf {
    explicit TimesOf(qint64 modifiedMs);
    struct timespec times[2];
};

// Gives the file at path (a link is followed) both times modifiedMs; false
// when it cannot.
bool SetModifiedTime(const QString& path, qint64 modifiedMs);

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>

#include "folders/FileStamp.h"

namespace mirelune {

// What a run made and put at an output name, to know it again by: its stamp
// and content hash as it was placed. Not by device and inode: a file put at
// the name since may get the inode number of one removed.
struct MadeResult {
    FileStamp stamp;
    QByteArray sha256;  // lower-case hex
};

// The SHA-256 (lower-case hex) of the file open as fd, read from its start,
// when it holds exactly size bytes; nothing otherwise. Never reads more than
// size bytes and one more.
std::optional<QByteArray> ContentHash(int fd, qint64 size);

// The stamp of the file at path now, when path (its last step not followed
// when a link) still names the file made: a regular file of the same size
// and content.
std::optional<FileStamp> StampIfMade(const QString& path, const MadeResult& made);

// Gives the file at path both times (access and modification) modifiedMs, on
// the descriptor that proved it the file made; then its stamp as it reads
// after the file was closed. Nothing when path names anything else.
std::optional<FileStamp> SetTimesIfMade(const QString& path, const MadeResult& made,
                                        qint64 modifiedMs);

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

namespace mirelune {

// What a reduction asks of the file system before and after its encoder
// runs.

// Whether a file system's own figures say it is full.
bool StorageIsFull(qint64 bytesTotal, qint64 bytesAvailable);

// Whether the encoder's message or the folder's file system says there is
// no room left.
bool NoSpaceIn(const QString& folder, const QString& encoderMessage);

// The read and write bits of the source's mode; 0666 (before the umask)
// when the source cannot be asked.
unsigned SourceMode(const QString& source);

bool SourceIsGone(const QString& source);

// Below the folder the job was given (root), results go only into real
// folders: nobody sharing the folder can send them elsewhere with a link.
// Why folder is refused, or empty; none for an empty root.
QString FolderRefusal(const QString& root, const QString& folder);

}  // namespace mirelune

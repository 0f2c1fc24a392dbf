#pragma once

#include <QString>
#include <QStringList>

namespace mirelune {

// The bare names of folder's files that match the wildcard pattern (see
// WildcardPattern), in the order the file system lists them. Hidden files
// count; folders, and anything FileIsOpenable refuses, do not. A name whose
// bytes are not valid in the file-name encoding is left out. An empty folder
// text stands for the root folder; a folder that cannot be listed has no
// files.
QStringList ListFolderFiles(const QString& folder, const QString& pattern);

// True only for a regular file, or a link to one, that opens for reading.
// FIFOs, devices and sockets are never opened: opening a FIFO waits for a
// writer, and a scan must not hang on one. Never fails; every problem is a
// false answer.
bool FileIsOpenable(const QString& path) noexcept;

}  // namespace mirelune

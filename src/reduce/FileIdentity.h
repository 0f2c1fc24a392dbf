#pragma once

#include <QString>
#include <optional>

namespace mirelune {

// Which file a path names, links followed: device and inode where the
// system has them, so a symbolic link, a hard link or another spelling of a
// path all give the same key. Empty when the path names nothing.
std::optional<QString> FileIdentity(const QString& path);

// True when a and b are the same text, or both name the same existing file.
bool IsSameFile(const QString& a, const QString& b);

// A text that is equal for every spelling of one place in the file system,
// whether or not a file is there yet: the folder's real path (when the
// folder exists) and the name.
QString PlaceKey(const QString& path);

}  // namespace mirelune

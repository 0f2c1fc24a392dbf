// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace mirelune {

// Which file or folder a path names, links followed: device and inode (file
// index on Windows), so a symbolic link, a hard link or another spelling of
// a path all give the same identity. The folder walk keys its each-folder-once
// rule on it, the reduce job its same-file tests.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool isFolder = false;

    // A text equal for equal identities, for maps keyed by text.
    QString key() const;

    friend bool operator<(const FileIdentity& a, const FileIdentity& b) {
        return a.device != b.device ? a.device < b.device : a.inode < b.inode;
    }
    friend bool operator==(const FileIdentity& a, const FileIdentity& b) {
        return a.device == b.device && a.inode == b.inode;
    }
    friend bool operator!=(const FileIdentity& a, const FileIdentity& b) { return !(a == b); }
};

// Empty when the path names nothing, or cannot reach the system intact.
std::optional<FileIdentity> IdentityOf(const QString& path);

// True when a and b are the same text, or both name the same existing file.
bool IsSameFile(const QString& a, const QString& b);

// The same text for every spelling of one existing file (its identity);
// for a file that is gone, its path made absolute.
QString SourceKey(const QString& path);

// A text that is equal for every spelling of one place in the file system,
// whether or not a file is there yet: the folder's real path (when the
// folder exists) and the name.
QString PlaceKey(const QString& path);

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace mirelune {

// Which file or folder a path names, links followed: device and inode (file
// index on Windows), so a symbolic link, a hard link or another spelling of
// a path all give the same identity. The folder walk keys its each-folder-once
// rule on it; a Place holds it for the same-file tests.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool isFolder = false;

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

}  // namespace mirelune

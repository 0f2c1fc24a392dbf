// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace mirelune {

// One row of the file list. The path is the only value the reduce job reads;
// the bitrate text is there for the user.
struct FileEntry {
    QString path;
    QString bitrateText;

    friend bool operator==(const FileEntry& a, const FileEntry& b) {
        return a.path == b.path && a.bitrateText == b.bitrateText;
    }
    friend bool operator!=(const FileEntry& a, const FileEntry& b) { return !(a == b); }
};

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <deque>

namespace mirelune {

// While one lives on a thread, that thread's folder listings open each folder
// from the nearest of the last few folders they opened, so a folder deep down
// a tree costs the lookup of its last names instead of its whole path, and a
// walk down a chain of folders costs what its folders cost. The kept folders
// close when it ends: nothing stays open on a file system after the walk
// (which could then not be unmounted).
class OpenFolders {
  public:
    OpenFolders();
    ~OpenFolders();
    OpenFolders(const OpenFolders&) = delete;
    OpenFolders& operator=(const OpenFolders&) = delete;

    // A new descriptor of the folder at nativePath for reading its entries,
    // owned by the caller; -1 with errno set as a plain open of the path would.
    static int Open(const QByteArray& nativePath);

  private:
    struct Kept {
        QByteArray path;  // without a trailing separator, but for the root "/"
        int fd;
    };
    int open(const QByteArray& path);
    void keep(const QByteArray& path, int fd);

    OpenFolders* outer_;
    std::deque<Kept> kept_;  // the most recent first
};

}  // namespace mirelune

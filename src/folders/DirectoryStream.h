// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <dirent.h>
#include <unistd.h>

#include <cerrno>

#include <QByteArray>

#include "folders/OpenFolders.h"

namespace mirelune {

// One open directory listing, closed when it goes out of scope.
class DirectoryStream {
  public:
    explicit DirectoryStream(const QByteArray& nativePath) {
        const int fd = OpenFolders::Open(nativePath);
        if (fd >= 0 && (dir_ = ::fdopendir(fd)) == nullptr) {
            const int error = errno;
            ::close(fd);
            errno = error;
        }
    }
    ~DirectoryStream() {
        if (dir_ != nullptr) {
            ::closedir(dir_);
        }
    }
    DirectoryStream(const DirectoryStream&) = delete;
    DirectoryStream& operator=(const DirectoryStream&) = delete;

    bool isOpen() const { return dir_ != nullptr; }
    // The open folder itself, for looking up its entries without walking
    // its path again.
    int fd() const { return ::dirfd(dir_); }
    // The next entry, or nullptr at the end or on a failure (errno tells which:
    // it is cleared before each read).
    const dirent* next() {
        errno = 0;
        return ::readdir(dir_);
    }

  private:
    DIR* dir_ = nullptr;
};

}  // namespace mirelune

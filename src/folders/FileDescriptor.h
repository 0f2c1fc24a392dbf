// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace mirelune {

// An open file descriptor, closed when this goes.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor() {
#ifdef Q_OS_UNIX
        if (fd_ >= 0) {
            ::close(fd_);
        }
#endif
    }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) {
        other.fd_ = -1;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor& operator=(FileDescriptor&&) = delete;

    bool isOpen() const {
        return fd_ >= 0;
    }
    int fd() const {
        return fd_;
    }

  private:
    int fd_;
};

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/FileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "encoder/EncoderFailure.h"

namespace mirelune::encoder {
namespace {

EncoderFailure CannotRead(const std::string& path, int error) {
    return EncoderFailure("cannot read " + path + ": " + std::strerror(error != 0 ? error : EIO));
}

}  // namespace

FileReader::FileReader(const std::string& path) : path_(path) {
    fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        throw CannotRead(path_, errno);
    }
    struct stat status {};
    if (::fstat(fd_, &status) != 0) {
        const int error = errno;
        ::close(fd_);
        throw CannotRead(path_, error);
    }
    if (S_ISDIR(status.st_mode)) {
        ::close(fd_);
        throw CannotRead(path_, EISDIR);
    }
    size_ = static_cast<std::size_t>(status.st_size);
}

FileReader::~FileReader() {
    ::close(fd_);
}

std::size_t FileReader::readAt(std::size_t offset, std::uint8_t* into, std::size_t size) const {
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::pread(fd_, into + got, size - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            throw CannotRead(path_, errno);
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    return got;
}

}  // namespace mirelune::encoder

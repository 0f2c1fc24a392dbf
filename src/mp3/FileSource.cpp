// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileSource.h"

#include <algorithm>
#include <cstring>

#ifdef _WIN32
#include <sys/stat.h>
#include <sys/types.h>
#include <cstdio>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#endif

namespace mirelune::mp3 {

FileSource::~FileSource() {
    Close();
}

#ifdef _WIN32

bool FileSource::Open(const std::string& path) {
    Close();
    struct _stat64 st;
    if (_stat64(path.c_str(), &st) != 0 || (st.st_mode & _S_IFREG) == 0) {
        return false;
    }
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        return false;
    }
    std::setvbuf(f, nullptr, _IONBF, 0);
    file_ = f;
    size_ = static_cast<std::uint64_t>(st.st_size);
    return true;
}

void FileSource::Close() {
    if (file_ != nullptr) {
        std::fclose(static_cast<std::FILE*>(file_));
        file_ = nullptr;
    }
    windowLength_ = 0;
    windowStart_ = 0;
    windowFilled_ = false;
    size_ = 0;
}

bool FileSource::isOpen() const noexcept {
    return file_ != nullptr;
}

std::size_t FileSource::ReadDirect(std::int64_t offset, std::uint8_t* out, std::size_t count) {
    auto* f = static_cast<std::FILE*>(file_);
    if (_fseeki64(f, offset, SEEK_SET) != 0) {
        return 0;
    }
    return std::fread(out, 1, count, f);
}

#else

bool FileSource::Open(const std::string& path) {
    Close();
    // O_NONBLOCK keeps the open itself from waiting for a FIFO's writer; it
    // changes nothing for regular files.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    size_ = static_cast<std::uint64_t>(st.st_size);
    return true;
}

void FileSource::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    windowLength_ = 0;
    windowStart_ = 0;
    windowFilled_ = false;
    size_ = 0;
}

bool FileSource::isOpen() const noexcept {
    return fd_ >= 0;
}

std::size_t FileSource::ReadDirect(std::int64_t offset, std::uint8_t* out, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(fd_, out + done, count - done,
                                    static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

#endif

bool FileSource::WindowHolds(std::int64_t offset, std::size_t count) const noexcept {
    const std::int64_t windowEnd = windowStart_ + static_cast<std::int64_t>(windowLength_);
    return offset >= windowStart_ && offset + static_cast<std::int64_t>(count) <= windowEnd;
}

std::size_t FileSource::Available(std::int64_t offset, std::size_t count) const noexcept {
    if (!isOpen() || offset < 0 || static_cast<std::uint64_t>(offset) >= size_) {
        return 0;
    }
    return static_cast<std::size_t>(
        std::min<std::uint64_t>(count, size_ - static_cast<std::uint64_t>(offset)));
}

std::size_t FileSource::ReadAt(std::int64_t offset, std::uint8_t* out, std::size_t count) {
    const std::size_t available = Available(offset, count);
    if (available == 0) {
        return 0;
    }
    if (!WindowHolds(offset, available)) {
        if (available > kWindowSize) {
            return ReadDirect(offset, out, available);
        }
        if (!window_) {
            window_ = std::make_unique<std::uint8_t[]>(kWindowSize);
        }
        const std::size_t size = windowFilled_ ? kWindowSize : kFirstWindowSize;
        windowLength_ = ReadDirect(offset, window_.get(), std::max(size, available));
        windowStart_ = offset;
        windowFilled_ = true;
    }
    const auto from = static_cast<std::size_t>(offset - windowStart_);
    const std::size_t copied = std::min(available, windowLength_ - std::min(from, windowLength_));
    if (copied > 0) {
        std::memcpy(out, window_.get() + from, copied);
    }
    return copied;
}

void FileSource::ReadAtZeroFilled(std::int64_t offset, std::uint8_t* out, std::size_t count) {
    const std::size_t got = ReadAt(offset, out, count);
    std::fill(out + got, out + count, std::uint8_t{0});
}

void FileSource::ReadAtZeroFilledOnce(std::int64_t offset, std::uint8_t* out, std::size_t count) {
    const std::size_t available = Available(offset, count);
    std::size_t got = 0;
    if (available > 0 && WindowHolds(offset, available)) {
        got = ReadAt(offset, out, available);
    } else if (available > 0) {
        got = ReadDirect(offset, out, available);
    }
    std::fill(out + got, out + count, std::uint8_t{0});
}

}  // namespace mirelune::mp3

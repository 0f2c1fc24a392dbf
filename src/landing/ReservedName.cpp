// SPDX-License-Identifier: GPL-3.0-or-later
#include "landing/ReservedName.h"

#include <QFile>
#include <algorithm>
#include <cerrno>

#include "folders/RealFolders.h"
#include "landing/UnfinishedMark.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mirelune {
namespace {

constexpr qint64 kCopyChunk = 1 << 16;

#ifdef Q_OS_UNIX
bool WriteAll(int fd, const char* data, qint64 size, qint64 offset) {
    while (size > 0) {
        const ssize_t written = ::pwrite(fd, data, static_cast<size_t>(size), offset);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= written;
        offset += written;
    }
    return true;
}

#endif

}  // namespace

#ifdef Q_OS_UNIX

int ReservedName::reserve(const QString& path) {
    release();
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return errno;
    }
    fd_ = fd;
    path_ = path;
    mark_ = NewUnfinishedMark();
    if (!WriteAll(fd_, mark_.constData(), mark_.size(), 0)) {
        const int error = errno;
        release();
        return error;
    }
    return 0;
}

bool ReservedName::nameIsOurs() const {
    struct stat held {};
    struct stat named {};
    return ::fstat(fd_, &held) == 0 && ::lstat(QFile::encodeName(path_).constData(), &named) == 0 &&
           SameFile(held, named);
}

bool ReservedName::untouched() const {
    // Measured by size alone: some FUSE drivers (fusefat) read back stale
    // bytes from a file that is still open for writing.
    struct stat held {};
    return ::fstat(fd_, &held) == 0 && held.st_size == mark_.size();
}

int ReservedName::copyInto(int from, qint64 size, const PlacementCalls& calls) {
    const auto writeAll = [&](const char* data, qint64 count, qint64 at) {
        while (count > 0) {
            const qint64 written = calls.write(fd_, data, count, at);
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                return written < 0 ? errno : EIO;
            }
            data += written;
            count -= written;
            at += written;
        }
        return 0;
    };
    const qint64 markSize = mark_.size();
    QByteArray head;
    QByteArray chunk(static_cast<qsizetype>(kCopyChunk), Qt::Uninitialized);
    qint64 offset = 0;
    while (offset < size) {
        const ssize_t got =
            ::pread(from, chunk.data(), static_cast<size_t>(std::min(kCopyChunk, size - offset)),
                    static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return got < 0 ? errno : EIO;  // the result shrank under us
        }
        // The first bytes wait until everything after them is safely down:
        // until then the file still starts with the mark.
        qint64 skip = 0;
        if (offset < markSize) {
            skip = std::min<qint64>(markSize - offset, got);
            head.append(chunk.constData(), static_cast<qsizetype>(skip));
        }
        if (const int error = writeAll(chunk.constData() + skip, got - skip, offset + skip)) {
            return error;
        }
        offset += got;
    }
    if (calls.fsync(fd_) != 0) {
        return errno;
    }
    if (const int error = writeAll(head.constData(), head.size(), 0)) {
        return error;
    }
    // A result shorter than the mark keeps none of the mark's tail.
    if ((size < markSize && calls.truncate(fd_, size) != 0) || calls.fsync(fd_) != 0) {
        return errno;
    }
    return 0;
}

int ReservedName::fill(int from, const QString& fromPath, unsigned mode,
                       const PlacementCalls& calls) {
    if (!held()) {
        return EBADF;
    }
    if (!untouched() || !nameIsOurs()) {
        return EEXIST;
    }
    struct stat made {};
    if (::fstat(from, &made) != 0) {
        return errno;
    }
    const QByteArray fromName = QFile::encodeName(fromPath);
    const QByteArray toName = QFile::encodeName(path_);
    const int swapped = calls.exchange(fromName, toName);
    if (swapped == 0) {
        // fromName now names whatever held the output name a moment ago, and
        // the output name whatever fromName named.
        struct stat held {};
        struct stat moved {};
        struct stat placed {};
        const bool reservationMoved = ::fstat(fd_, &held) == 0 &&
                                      ::lstat(fromName.constData(), &moved) == 0 &&
                                      SameFile(held, moved);
        const bool resultPlaced =
            ::lstat(toName.constData(), &placed) == 0 && SameFile(made, placed);
        if (reservationMoved && resultPlaced) {
            ::unlink(fromName.constData());
            forget();
            return 0;
        }
        // A stranger's file, or something that took the temporary name:
        // back where it was.
        calls.exchange(fromName, toName);
        return reservationMoved ? ESTALE : EEXIST;
    }
    if (!ExchangeUnsupported(swapped)) {
        return swapped;
    }
    filling_ = true;
    // The held file holds only the mark so far: it may get the result's
    // mode at once, so no moment of a whole result has any other (where the
    // target keeps modes at all).
    calls.mode(fd_, mode);
    if (const int error = copyInto(from, made.st_size, calls)) {
        return error;
    }
    // The copy keeps the result's times: its record names them.
    const struct timespec times[2] = {made.st_atim, made.st_mtim};
    if (calls.time(fd_, times) != 0 || calls.fsync(fd_) != 0) {
        return errno;
    }
    if (!nameIsOurs()) {
        // Someone replaced the name while the copy ran: their file stays, and
        // ours is dropped with the handle.
        forget();
        return EEXIST;
    }
    forget();
    return 0;
}

void ReservedName::release() noexcept {
    if (fd_ < 0) {
        return;
    }
    // Whoever wrote over the mark made the file theirs; what we began to
    // copy in is ours to take away.
    if (nameIsOurs() && (filling_ || untouched())) {
        ::unlink(QFile::encodeName(path_).constData());
    }
    forget();
}

void ReservedName::forget() noexcept {
    ::close(fd_);
    fd_ = -1;
    filling_ = false;
    path_.clear();
}

#else  // not Unix: no swap, and the copy goes straight in

int ReservedName::reserve(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        return file.exists() ? EEXIST : EACCES;
    }
    mark_ = NewUnfinishedMark();
    file.write(mark_);
    path_ = path;
    fd_ = 0;
    return 0;
}

int ReservedName::fill(int, const QString& from, unsigned, const PlacementCalls&) {
    QFile::remove(path_);
    if (!QFile::rename(from, path_)) {
        return EEXIST;
    }
    fd_ = -1;
    path_.clear();
    return 0;
}

void ReservedName::release() noexcept {
    if (fd_ >= 0) {
        QFile::remove(path_);
        fd_ = -1;
        path_.clear();
    }
}

#endif

}  // namespace mirelune

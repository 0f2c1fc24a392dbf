// SPDX-License-Identifier: GPL-3.0-or-later
#include "runs/MadeResult.h"

#include <QCryptographicHash>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <utility>

#include "folders/FileDescriptor.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mirelune {
namespace {

constexpr qint64 kReadChunk = 1 << 16;

#ifdef Q_OS_UNIX
// Opens path without following a link or waiting, when it is still the
// file made, with its status; closed otherwise.
FileDescriptor OpenIfMade(const QString& path, const MadeResult& made, struct stat& status) {
    FileDescriptor file(::open(QFile::encodeName(path).constData(),
                               O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!file.isOpen() || ::fstat(file.fd(), &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_size != made.stamp.size) {
        return FileDescriptor();
    }
    const std::optional<QByteArray> hash = ContentHash(file.fd(), made.stamp.size);
    return hash && *hash == made.sha256 ? std::move(file) : FileDescriptor();
}
#endif

}  // namespace

std::optional<QByteArray> ContentHash(int fd, qint64 size) {
#ifdef Q_OS_UNIX
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray chunk(static_cast<qsizetype>(kReadChunk), Qt::Uninitialized);
    qint64 offset = 0;
    for (;;) {
        // One byte more than is left: a file that grew is not the one hashed.
        const qint64 wanted = std::min<qint64>(kReadChunk, size - offset + 1);
        const ssize_t got =
            ::pread(fd, chunk.data(), static_cast<size_t>(wanted), static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0 || offset + got > size) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        hash.addData(QByteArrayView(chunk.constData(), got));
        offset += got;
    }
    if (offset != size) {
        return std::nullopt;
    }
    return hash.result().toHex();
#else
    Q_UNUSED(fd);
    Q_UNUSED(size);
    return std::nullopt;
#endif
}

std::optional<FileStamp> StampIfMade(const QString& path, const MadeResult& made) {
#ifdef Q_OS_UNIX
    struct stat status {};
    if (!OpenIfMade(path, made, status).isOpen()) {
        return std::nullopt;
    }
    return StampOfStatus(status);
#else
    Q_UNUSED(made);
    return StampOf(path);
#endif
}

std::optional<FileStamp> SetTimesIfMade(const QString& path, const MadeResult& made,
                                        qint64 modifiedMs) {
#ifdef Q_OS_UNIX
    {
        struct stat status {};
        const FileDescriptor file = OpenIfMade(path, made, status);
        if (!file.isOpen() || ::futimens(file.fd(), TimesOf(modifiedMs).times) != 0) {
            return std::nullopt;
        }
    }
    // Asked again once closed: some drivers give a file another time then.
    return StampIfMade(path, made);
#else
    Q_UNUSED(made);
    Q_UNUSED(modifiedMs);
    return StampOf(path);
#endif
}

}  // namespace mirelune

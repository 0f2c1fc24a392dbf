// SPDX-License-Identifier: GPL-3.0-or-later
#include "landing/PlacementCalls.h"

#include <cerrno>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mirelune {
namespace placement {

#ifdef Q_OS_UNIX

int SystemExchange(const QByteArray& a, const QByteArray& b) {
#if defined(Q_OS_LINUX)
    return ::renameat2(AT_FDCWD, a.constData(), AT_FDCWD, b.constData(), RENAME_EXCHANGE) == 0
               ? 0
               : errno;
#else
    Q_UNUSED(a);
    Q_UNUSED(b);
    return ENOTSUP;
#endif
}

int SystemOpen(const QByteArray& path, int flags) {
    return ::open(path.constData(), flags);
}

qint64 SystemWrite(int fd, const char* data, qint64 size, qint64 offset) {
    return ::pwrite(fd, data, static_cast<size_t>(size), static_cast<off_t>(offset));
}

int SystemFsync(int fd) {
    return ::fsync(fd);
}

int SystemTruncate(int fd, qint64 size) {
    return ::ftruncate(fd, static_cast<off_t>(size));
}

int SystemMode(int fd, unsigned mode) {
    return ::fchmod(fd, static_cast<mode_t>(mode));
}

int SystemTime(int fd, const struct timespec* times) {
    return ::futimens(fd, times);
}

#else  // the copy and the descriptor steps are Unix only

int SystemExchange(const QByteArray&, const QByteArray&) {
    return ENOTSUP;
}
int SystemOpen(const QByteArray&, int) {
    errno = ENOSYS;
    return -1;
}
qint64 SystemWrite(int, const char*, qint64, qint64) {
    errno = ENOSYS;
    return -1;
}
int SystemFsync(int) {
    return 0;
}
int SystemTruncate(int, qint64) {
    errno = ENOSYS;
    return -1;
}
int SystemMode(int, unsigned) {
    return 0;
}
int SystemTime(int, const struct timespec*) {
    errno = ENOSYS;
    return -1;
}

#endif

int SystemRename(const QByteArray& from, const QByteArray& to) {
    return std::rename(from.constData(), to.constData());
}

}  // namespace placement

const PlacementCalls& SystemPlacementCalls() {
    static const PlacementCalls calls;
    return calls;
}

bool ExchangeUnsupported(int error) {
    // FUSE drivers answer EINVAL for flags they do not know; others EPERM.
    return error == EINVAL || error == ENOSYS || error == ENOTSUP || error == EOPNOTSUPP ||
           error == EPERM;
}

}  // namespace mirelune

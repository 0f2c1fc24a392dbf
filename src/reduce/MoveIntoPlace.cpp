// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/MoveIntoPlace.h"

#include <QFile>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>
#endif

namespace mirelune {
namespace {

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

}  // namespace

const PlacementCalls& SystemPlacementCalls() {
    static const PlacementCalls calls{&SystemExchange};
    return calls;
}

bool ExchangeUnsupported(int error) {
    // FUSE drivers answer EINVAL for flags they do not know; others EPERM.
    return error == EINVAL || error == ENOSYS || error == ENOTSUP || error == EOPNOTSUPP ||
           error == EPERM;
}

int MoveIntoPlace(const QString& from, const QString& to) {
#ifdef Q_OS_UNIX
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0
               ? 0
               : errno;
#else
    // QFile::rename never replaces an existing file.
    QFile::remove(to);
    if (QFile::rename(from, to)) {
        return 0;
    }
    return QFile::exists(to) ? EEXIST : EIO;
#endif
}

}  // namespace mirelune

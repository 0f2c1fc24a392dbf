// SPDX-License-Identifier: GPL-3.0-or-later
#include "landing/WriteAccess.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>
#endif

namespace mirelune {

int WriteAccessIn(const QString& folder) {
#ifdef Q_OS_UNIX
    const QByteArray path = QFile::encodeName(folder);
    struct statvfs status {};
    if (::statvfs(path.constData(), &status) != 0) {
        return errno;
    }
    if ((status.f_flag & ST_RDONLY) != 0) {
        return EROFS;
    }
    // Making a file needs search and write permission on the folder, as the
    // run's effective user, not its real one.
    if (::faccessat(AT_FDCWD, path.constData(), W_OK | X_OK, AT_EACCESS) != 0) {
        return errno;
    }
    return 0;
#else
    return QFileInfo(folder).isWritable() ? 0 : EACCES;
#endif
}

}  // namespace mirelune

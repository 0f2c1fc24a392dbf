#include "reduce/MoveIntoPlace.h"

#include <QFile>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>
#endif

namespace mirelune {

#ifdef Q_OS_UNIX
namespace {

bool RefusedByTheFileSystem(int error) {
    return error == EINVAL || error == ENOSYS || error == ENOTSUP || error == EOPNOTSUPP ||
           error == EPERM;
}

}  // namespace

int MoveIntoPlace(const QString& from, const QString& to, Replace replace) {
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (replace == Replace::Yes) {
        return ::rename(source.constData(), target.constData()) == 0 ? 0 : errno;
    }
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0) {
        return 0;
    }
    if (!RefusedByTheFileSystem(errno)) {
        return errno;
    }
    // A file system without that kind of rename: a new hard link also refuses
    // a name that is taken, and then the temporary name goes.
    if (::link(source.constData(), target.constData()) != 0) {
        return errno;
    }
    ::unlink(source.constData());
    return 0;
}
#else
int MoveIntoPlace(const QString& from, const QString& to, Replace replace) {
    // QFile::rename never replaces an existing file.
    if (replace == Replace::Yes) {
        QFile::remove(to);
    }
    if (QFile::rename(from, to)) {
        return 0;
    }
    return QFile::exists(to) ? EEXIST : EIO;
}
#endif

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/RunLiveness.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSysInfo>
#include <cerrno>

#include "reduce/RealFolders.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#endif

namespace mirelune {
namespace {

const QByteArray kRunMarkLine = QByteArrayLiteral("MIRELUNE-RUN\n");
// Marks are a few short lines; anything longer is not one of ours.
constexpr qint64 kMaxMarkBytes = 512;

bool ProcessIsGone(qlonglong pid) {
#ifdef Q_OS_UNIX
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
#else
    Q_UNUSED(pid);
    return false;
#endif
}

}  // namespace

QByteArray HostName() {
    QByteArray host = QSysInfo::machineHostName().toUtf8();
    host.replace('\n', ' ');
    return host.isEmpty() ? QByteArrayLiteral("unknown") : host;
}

QByteArray OwnerLines() {
#ifdef Q_OS_UNIX
    const qlonglong pid = ::getpid();
#else
    const qlonglong pid = 0;
#endif
    return HostName() + '\n' + QByteArray::number(pid) + '\n';
}

bool OwnerIsDead(const QByteArray& host, const QByteArray& pid, const QDateTime& touched,
                 const QDateTime& now) {
    if (host != HostName()) {
        return touched.secsTo(now) > kForeignQuietSeconds;
    }
    bool isNumber = false;
    const qlonglong number = pid.toLongLong(&isNumber);
    return isNumber && number > 0 && ProcessIsGone(number);
}

QDateTime ModifiedTimeOf(qint64 seconds, qint64 nanoseconds) {
    return QDateTime::fromMSecsSinceEpoch(seconds * 1000 + nanoseconds / 1000000);
}

#ifdef Q_OS_UNIX
namespace {

bool WriteMarkTo(int fd) {
    if (fd < 0) {
        return false;
    }
    const QByteArray mark = kRunMarkLine + OwnerLines();
    const bool written =
        ::write(fd, mark.constData(), static_cast<size_t>(mark.size())) == mark.size();
    const int error = errno;
    ::close(fd);
    errno = written ? 0 : (error != 0 ? error : EIO);
    return written;
}

constexpr int kNewMark = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;

}  // namespace

bool WriteRunMarkIn(const FolderHandle& folder, const QByteArray& name) {
    if (WriteMarkTo(::openat(folder.fd(), name.constData(), kNewMark, 0644))) {
        return true;
    }
    const int error = errno;
    if (error != EEXIST) {
        ::unlinkat(folder.fd(), name.constData(), 0);
    }
    errno = error;
    return false;
}

bool RunMarkIsDeadIn(const FolderHandle& folder, const QByteArray& name, const QDateTime& now) {
    const std::optional<struct stat> status = StatusIn(folder, name);
    if (!status) {
        return false;
    }
    const QDateTime touched = ModifiedTimeOf(status->st_mtim.tv_sec, status->st_mtim.tv_nsec);
    const std::optional<SmallFile> mark = ReadSmallFile(folder, name, kMaxMarkBytes);
    const QByteArray text = mark ? mark->bytes : QByteArray();
    const QList<QByteArray> lines = text.mid(kRunMarkLine.size()).split('\n');
    if (!text.startsWith(kRunMarkLine) || lines.size() < 3) {
        // Cut short by a crash, or not written by us at all: whoever wrote
        // it has had a day to finish.
        return touched.secsTo(now) > kForeignQuietSeconds;
    }
    return OwnerIsDead(lines[0], lines[1], touched, now);
}

bool WriteRunMark(const QString& path) {
    const QFileInfo info(path);
    return WriteRunMarkIn(OpenFolderBelow(info.path(), QString(), false),
                          QFile::encodeName(info.fileName()));
}

bool RunMarkIsDead(const QString& path, const QDateTime& now) {
    const QFileInfo info(path);
    return RunMarkIsDeadIn(OpenFolderBelow(info.path(), QString(), false),
                           QFile::encodeName(info.fileName()), now);
}

#else

bool WriteRunMark(const QString& path) {
    QFile file(path);
    const QByteArray mark = kRunMarkLine + OwnerLines();
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly) && file.write(mark) == mark.size();
}

bool WriteRunMarkIn(const FolderHandle&, const QByteArray&) {
    return false;
}

bool RunMarkIsDead(const QString&, const QDateTime&) {
    return false;
}

bool RunMarkIsDeadIn(const FolderHandle&, const QByteArray&, const QDateTime&) {
    return false;
}

#endif

}  // namespace mirelune

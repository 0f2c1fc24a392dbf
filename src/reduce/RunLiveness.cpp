// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/RunLiveness.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSysInfo>
#include <cerrno>

#ifdef Q_OS_UNIX
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

bool WriteRunMark(const QString& path) {
    QFile file(path);
    const QByteArray mark = kRunMarkLine + OwnerLines();
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        return false;
    }
    if (file.write(mark) != mark.size() || !file.flush()) {
        file.close();
        file.remove();
        return false;
    }
    return true;
}

bool RunMarkIsDead(const QString& path, const QDateTime& now) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray text = file.read(kMaxMarkBytes);
    const QDateTime touched = QFileInfo(path).lastModified();
    const QList<QByteArray> lines = text.mid(kRunMarkLine.size()).split('\n');
    if (!text.startsWith(kRunMarkLine) || lines.size() < 3) {
        // Cut short by a crash, or not written by us at all: whoever wrote
        // it has had a day to finish.
        return touched.secsTo(now) > kForeignQuietSeconds;
    }
    return OwnerIsDead(lines[0], lines[1], touched, now);
}

}  // namespace mirelune

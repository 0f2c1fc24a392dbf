// SPDX-License-Identifier: GPL-3.0-or-later
#include "runs/MachineFacts.h"

#include <QFile>
#include <QList>
#include <QSysInfo>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mirelune {
namespace {

// The files read here are a line or two; /proc files report no size.
constexpr qsizetype kMaxFactBytes = 4096;

QByteArray FirstLineOf(const char* path) {
#ifdef Q_OS_UNIX
    const int fd = ::open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    QByteArray text(kMaxFactBytes, '\0');
    qsizetype got = 0;
    while (got < text.size()) {
        const ssize_t n = ::read(fd, text.data() + got, static_cast<size_t>(text.size() - got));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        got += n;
    }
    ::close(fd);
    text.truncate(got);
    const qsizetype end = text.indexOf('\n');
    return end < 0 ? text : text.left(end);
#else
    Q_UNUSED(path);
    return {};
#endif
}

// A word a mark can carry: letters, digits and '-', never blank.
QByteArray AsWord(const QByteArray& text) {
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
              c == '-')) {
            return {};
        }
    }
    return text;
}

class SystemMachineFacts final : public MachineFacts {
  public:
    QByteArray machineId() const override {
        static const QByteArray id = [] {
            const QByteArray etc = AsWord(FirstLineOf("/etc/machine-id").trimmed());
            return etc.isEmpty() ? AsWord(FirstLineOf("/var/lib/dbus/machine-id").trimmed()) : etc;
        }();
        return id;
    }

    QByteArray bootId() const override {
        static const QByteArray id =
            AsWord(FirstLineOf("/proc/sys/kernel/random/boot_id").trimmed());
        return id;
    }

    quint64 pidNamespace() const override {
#ifdef Q_OS_UNIX
        struct stat status {};
        return ::stat("/proc/self/ns/pid", &status) == 0 ? status.st_ino : 0;
#else
        return 0;
#endif
    }

    QByteArray hostName() const override {
        QByteArray host = QSysInfo::machineHostName().toUtf8();
        host.replace('\n', ' ');
        return host.isEmpty() ? QByteArrayLiteral("unknown") : host;
    }

    qint64 pid() const override {
#ifdef Q_OS_UNIX
        return ::getpid();
#else
        return 0;
#endif
    }

    ProcessSeen process(qint64 pid) const override {
#ifdef Q_OS_UNIX
        const QByteArray path = "/proc/" + QByteArray::number(pid) + "/stat";
        const QByteArray stat = FirstLineOf(path.constData());
        const QByteArray state = StatField(stat, 3);
        bool isNumber = false;
        const quint64 start = StatField(stat, 22).toULongLong(&isNumber);
        if (!state.isEmpty() && isNumber) {
            if (state == "Z" || state == "X" || state == "x") {
                return {ProcessSeen::State::Zombie, start};
            }
            return {ProcessSeen::State::Running, start};
        }
        // /proc hides other users' processes (hidepid): only the kernel's
        // own answer says one is gone.
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            return {ProcessSeen::State::Gone, 0};
        }
        return {ProcessSeen::State::Hidden, 0};
#else
        Q_UNUSED(pid);
        return {ProcessSeen::State::Hidden, 0};
#endif
    }

    QDateTime bootTime() const override {
        // /proc/stat's "btime" line, in seconds after the epoch.
        QFile stat(QStringLiteral("/proc/stat"));
        if (!stat.open(QIODevice::ReadOnly)) {
            return {};
        }
        for (int line = 0; line < 1000 && !stat.atEnd(); ++line) {
            const QByteArray text = stat.readLine(kMaxFactBytes).trimmed();
            if (text.startsWith("btime ")) {
                bool isNumber = false;
                const qint64 seconds = text.mid(6).trimmed().toLongLong(&isNumber);
                return isNumber ? QDateTime::fromSecsSinceEpoch(seconds) : QDateTime();
            }
        }
        return {};
    }
};

}  // namespace

const MachineFacts& SystemFacts() {
    static const SystemMachineFacts facts;
    return facts;
}

QByteArray StatField(const QByteArray& statLine, int field) {
    // The command name (field 2) is in parentheses and may hold anything,
    // ')' and blanks included: fields are counted after its last ')'.
    const qsizetype close = statLine.lastIndexOf(')');
    if (close < 0 || field < 3) {
        return {};
    }
    const QList<QByteArray> fields = statLine.mid(close + 1).trimmed().split(' ');
    const qsizetype index = field - 3;
    return index < fields.size() ? fields[index] : QByteArray();
}

}  // namespace mirelune

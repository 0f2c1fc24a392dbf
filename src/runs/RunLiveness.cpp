// SPDX-License-Identifier: GPL-3.0-or-later
#include "runs/RunLiveness.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>

#include "runs/PerProcess.h"
#include "folders/RealFolders.h"
#include "runs/RunMarkText.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace mirelune {
namespace {

bool ProcessIsDead(const MachineFacts& facts, qint64 pid, quint64 startTime) {
    const ProcessSeen seen = facts.process(pid);
    switch (seen.state) {
        case ProcessSeen::State::Gone:
        case ProcessSeen::State::Zombie:
            return true;
        case ProcessSeen::State::Hidden:
            return false;
        case ProcessSeen::State::Running:
            // Another process that got the pid again.
            return startTime != 0 && seen.startTime != startTime;
    }
    return false;
}

}  // namespace

QByteArray HostName() {
    return SystemFacts().hostName();
}

RunOwner OwnerOfThisProcess(const MachineFacts& facts) {
    RunOwner owner;
    owner.machineId = facts.machineId();
    owner.bootId = facts.bootId();
    owner.pidNamespace = facts.pidNamespace();
    owner.hostName = facts.hostName();
    owner.pid = facts.pid();
    const ProcessSeen self = facts.process(owner.pid);
    owner.startTime = self.state == ProcessSeen::State::Running ? self.startTime : 0;
    return owner;
}

QByteArray OwnerLines() {
    static PerProcess<QByteArray> lines;
    return lines.get([] { return OwnerOfThisProcess().lines(); });
}

TargetClock TargetClock::Local() {
    return {QDateTime::currentDateTime(), 0};
}

TargetClock TargetClock::Of(const QDateTime& targetNow, const QDateTime& localNow) {
    return {targetNow, localNow.msecsTo(targetNow)};
}

bool QuietTooLong(const QDateTime& touched, const TargetClock& clock) {
    return qAbs(touched.msecsTo(clock.now)) > kForeignQuietSeconds * 1000;
}

bool OwnerIsDead(const RunOwner& owner, const QDateTime& touched, const TargetClock& clock,
                 const MachineFacts& facts) {
    if (owner.hostAndPidOnly) {
        // Written by a version that knew no more: judged as it judged them.
        if (owner.hostName != facts.hostName()) {
            return QuietTooLong(touched, clock);
        }
        return owner.pid > 0 && ProcessIsDead(facts, owner.pid, 0);
    }
    const RunOwner self = OwnerOfThisProcess(facts);
    if (!owner.sameMachineAs(self) || owner.bootId.isEmpty() || self.bootId.isEmpty()) {
        return QuietTooLong(touched, clock);
    }
    const bool sameNamespace = owner.pidNamespace != 0 && owner.pidNamespace == self.pidNamespace;
    if (owner.bootId != self.bootId) {
        // A run of an earlier boot ended with it. A mark touched since this
        // boot began is a clone's, with our machine id; so may be one of
        // another pid namespace: containers made from one image share its
        // machine id, each on its own host's boot.
        const QDateTime boot = facts.bootTime();
        if (sameNamespace && boot.isValid() && touched < boot.addMSecs(clock.aheadMs)) {
            return true;
        }
        return QuietTooLong(touched, clock);
    }
    if (!sameNamespace || owner.pid <= 0) {
        return QuietTooLong(touched, clock);
    }
    return ProcessIsDead(facts, owner.pid, owner.startTime);
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
    const QByteArray mark = RunMarkText::header(OwnerOfThisProcess());
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

namespace {

std::optional<RunMarkSeen> ReadMark(const FolderHandle& folder, const QByteArray& name,
                                    const TargetClock& clock) {
    const std::optional<struct stat> status = StatusIn(folder, name);
    if (!status) {
        return std::nullopt;
    }
    RunMarkSeen seen;
    seen.tag = name.chopped(name.endsWith(".run") ? 4 : 0);
    seen.owner = status->st_uid;
    const std::optional<SmallFile> file = ReadSmallFile(folder, name, kMaxRunMarkBytes);
    const struct stat& now = file ? file->status : *status;
    const QDateTime touched = ModifiedTimeOf(now.st_mtim.tv_sec, now.st_mtim.tv_nsec);
    const RunMarkText mark = RunMarkText::parse(file ? file->bytes : QByteArray());
    if (!mark.owner) {
        // Cut short by a crash, or not written by us at all: whoever wrote
        // it has had a day to finish.
        seen.dead = QuietTooLong(touched, clock);
        return seen;
    }
    seen.dead = OwnerIsDead(*mark.owner, touched, clock);
    if (seen.dead) {
        seen.run = mark.owner;
        seen.announced = mark.announced;
    }
    return seen;
}

}  // namespace

bool RunMarkIsDeadIn(const FolderHandle& folder, const QByteArray& name, const TargetClock& clock) {
    const std::optional<RunMarkSeen> seen = ReadMark(folder, name, clock);
    return seen && seen->dead;
}

QList<RunMarkSeen> RunMarksIn(const FolderHandle& runs, const TargetClock& clock) {
    QList<RunMarkSeen> marks;
    for (const QByteArray& name : NamesIn(runs)) {
        const std::optional<struct stat> status = StatusIn(runs, name);
        if (!name.endsWith(".run") || !status || !S_ISREG(status->st_mode)) {
            continue;
        }
        if (std::optional<RunMarkSeen> seen = ReadMark(runs, name, clock)) {
            marks.append(std::move(*seen));
        }
    }
    return marks;
}

bool WriteRunMark(const QString& path) {
    const QFileInfo info(path);
    return WriteRunMarkIn(OpenFolderBelow(info.path(), QString(), false),
                          QFile::encodeName(info.fileName()));
}

#else

bool WriteRunMark(const QString& path) {
    QFile file(path);
    const QByteArray mark = RunMarkText::header(OwnerOfThisProcess());
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly) && file.write(mark) == mark.size();
}

bool WriteRunMarkIn(const FolderHandle&, const QByteArray&) {
    return false;
}

bool RunMarkIsDeadIn(const FolderHandle&, const QByteArray&, const TargetClock&) {
    return false;
}

#endif

}  // namespace mirelune

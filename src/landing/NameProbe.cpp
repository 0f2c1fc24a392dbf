// SPDX-License-Identifier: GPL-3.0-or-later
#include "landing/NameProbe.h"

#include <QDir>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <cerrno>
#include <set>
#include <utility>
#include <vector>

#include "shell/RandomTag.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mirelune {

#ifdef Q_OS_UNIX
namespace {

constexpr int kProbeTagLength = 8;

// Whether folder is yet to be cleared of dead probe folders in this process:
// once is enough, and a folder may hold thousands of names.
bool FirstVisit(const QString& folder) {
    static QMutex mutex;
    static std::set<QString> visited;
    const QMutexLocker lock(&mutex);
    return visited.insert(QDir::cleanPath(QDir(folder).absolutePath())).second;
}

// Removes the probe folder name in folder when it holds nothing but empty
// files of me; leaves everything as it is otherwise.
void RemoveDeadProbeFolder(const FolderHandle& folder, const QByteArray& name, uid_t me) {
    const FolderHandle probe(
        ::openat(folder.fd(), name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!probe.isOpen()) {
        return;
    }
    const QList<QByteArray> names = NamesIn(probe);
    std::vector<std::pair<QByteArray, struct stat>> trials;
    for (const QByteArray& inside : names) {
        const std::optional<struct stat> status = StatusIn(probe, inside);
        if (!status || !S_ISREG(status->st_mode) || status->st_uid != me || status->st_size != 0) {
            return;
        }
        trials.emplace_back(inside, *status);
    }
    for (const auto& [inside, status] : trials) {
        RemoveIfSame(probe, inside, status);
    }
    // Fails, and leaves the folder, when something was put in meanwhile.
    ::unlinkat(folder.fd(), name.constData(), AT_REMOVEDIR);
}

}  // namespace

void SweepDeadProbeFolders(const FolderHandle& folder, qint64 now) {
    const uid_t me = ::geteuid();
    for (const QByteArray& name : NamesIn(folder)) {
        if (!name.startsWith(kProbeFolderPrefix)) {
            continue;
        }
        const std::optional<struct stat> status = StatusIn(folder, name);
        if (!status || status->st_uid != me) {
            continue;
        }
        if (now - status->st_mtim.tv_sec > kProbeQuietSeconds) {
            RemoveDeadProbeFolder(folder, name, me);
        }
    }
}

bool NameProbe::open() {
    if (probe_.isOpen() || error_ != 0) {
        return probe_.isOpen();
    }
    parent_ = OpenFolderBelow(folder_, QString(), false);
    if (!parent_.isOpen()) {
        error_ = parent_.error();
        return false;
    }
    for (int attempt = 0; attempt < 8; ++attempt) {
        const QByteArray name = QFile::encodeName(kProbeFolderPrefix + RandomTag(kProbeTagLength));
        if (::mkdirat(parent_.fd(), name.constData(), 0700) != 0) {
            if (errno == EEXIST) {
                continue;
            }
            error_ = errno;
            return false;
        }
        name_ = name;
        probe_ = FolderHandle(::openat(parent_.fd(), name.constData(),
                                       O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!probe_.isOpen()) {
            error_ = errno;
            ::unlinkat(parent_.fd(), name_.constData(), AT_REMOVEDIR);
            return false;
        }
        struct stat made {};
        if (FirstVisit(folder_) && ::fstat(probe_.fd(), &made) == 0) {
            // The new folder's time is the target's own clock, which a
            // leftover of this target was stamped by too.
            SweepDeadProbeFolders(parent_, made.st_mtim.tv_sec);
        }
        return true;
    }
    error_ = EEXIST;
    return false;
}

void NameProbe::close() {
    if (probe_.isOpen()) {
        probe_ = FolderHandle();
        ::unlinkat(parent_.fd(), name_.constData(), AT_REMOVEDIR);
    }
}

NameProbe::~NameProbe() {
    close();
}

int NameProbe::tryName(const QString& name) {
    const QByteArray native = QFile::encodeName(name);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!open()) {
            return error_;
        }
        const int fd = ::openat(probe_.fd(), native.constData(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            if (whileMade_) {
                whileMade_();
            }
            ::unlinkat(probe_.fd(), native.constData(), 0);
            return 0;
        }
        const int error = errno;
        // A run stopped for longer than a probe folder may stay quiet finds
        // it swept: that is no answer about the name.
        struct stat status {};
        if (::fstat(probe_.fd(), &status) != 0 || status.st_nlink != 0) {
            return error;
        }
        probe_ = FolderHandle();
    }
    return ENOENT;
}

#else  // not Unix: trials by path in the folder itself

NameProbe::~NameProbe() = default;

int NameProbe::tryName(const QString& name) {
    QFile file(folder_ + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        return file.exists() ? EEXIST : EINVAL;
    }
    file.close();
    file.remove();
    return 0;
}

#endif

}  // namespace mirelune

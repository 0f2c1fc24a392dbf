// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/RunMark.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>

#include "reduce/LeftoverSweep.h"
#include "reduce/RandomTag.h"
#include "reduce/RealFolders.h"
#include "reduce/RunLiveness.h"
#include "reduce/TemporaryResultName.h"
#include "shell/PathHelpers.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#include <cerrno>

namespace mirelune {
namespace {

struct Holds {
    QHash<QString, int> count;  // by absolute folder
    QSet<QString> swept;
    QSet<QString> madeRecordFolder;  // folders whose record folder this process made
};

Holds& HoldsOfThisProcess() {
    static Holds holds;
    return holds;
}

QString Key(const QString& folder) {
    return QDir(folder.isEmpty() ? QStringLiteral(".") : folder).absolutePath();
}

QByteArray MarkName() {
    return QFile::encodeName(RunTag() + QStringLiteral(".run"));
}

#ifdef Q_OS_UNIX
// Refreshed: another run judges a run of another machine by its mark's
// time. Only a mark of ours, a regular file, is touched.
bool Refresh(const FolderHandle& runs, const QByteArray& name) {
    const int fd =
        ::openat(runs.fd(), name.constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat status {};
    const bool ours = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
                      status.st_uid == ::geteuid() && ::futimens(fd, nullptr) == 0;
    ::close(fd);
    return ours;
}
#endif

bool PlaceMark(const QString& folder, bool& madeFolder) {
#ifdef Q_OS_UNIX
    const QByteArray name = MarkName();
    // A run that made the record folder removes it when it ends empty; one
    // removed between our making sure of it and our mark's making is made again.
    for (int attempt = 0; attempt < 5; ++attempt) {
        bool made = false;
        const FolderHandle runs = OpenRecordFolder(folder, true, &made);
        madeFolder = madeFolder || made;
        if (!runs.isOpen()) {
            if (runs.error() == ENOENT) {
                continue;
            }
            return false;
        }
        if (StatusIn(runs, name)) {
            return Refresh(runs, name);
        }
        if (WriteRunMarkIn(runs, name)) {
            return true;
        }
        if (errno != ENOENT) {
            return false;
        }
    }
    return false;
#else
    Q_UNUSED(madeFolder);
    QDir(folder).mkdir(QLatin1String(kRecordFolderName));
    return WriteRunMark(RunMarkPath(folder, RunTag()));
#endif
}

}  // namespace

QString RunTag() {
    static const QString tag = RandomTag(static_cast<int>(temporary_result::kRunTagLength));
    return tag;
}

QString RunFolderIn(const QString& folder) {
    return QDir(folder.isEmpty() ? QStringLiteral(".") : folder)
        .filePath(QLatin1String(kRecordFolderName));
}

QString RunMarkPath(const QString& folder, const QString& runTag) {
    return RunFolderIn(folder) + QLatin1Char('/') + runTag + QStringLiteral(".run");
}

RunMarkHold::RunMarkHold(const QString& folder) : folder_(Key(folder)) {
    Holds& holds = HoldsOfThisProcess();
    if (!holds.swept.contains(folder_)) {
        holds.swept.insert(folder_);
        SweepResultFolder(folder_, QDateTime::currentDateTime());
    }
    bool made = false;
    marked_ = PlaceMark(folder_, made);
    if (made) {
        holds.madeRecordFolder.insert(folder_);
    }
    ++holds.count[folder_];
}

RunMarkHold::~RunMarkHold() {
    Holds& holds = HoldsOfThisProcess();
    if (--holds.count[folder_] > 0) {
        return;
    }
    holds.count.remove(folder_);
#ifdef Q_OS_UNIX
    const FolderHandle runs = OpenRecordFolder(folder_, false);
    if (const std::optional<struct stat> mark = StatusIn(runs, MarkName())) {
        if (S_ISREG(mark->st_mode) && mark->st_uid == ::geteuid()) {
            RemoveIfSame(runs, MarkName(), *mark);
        }
    }
    // A record folder this run made goes when nothing is left in it; one
    // with records, or another run's files, stays.
    if (holds.madeRecordFolder.contains(folder_)) {
        const FolderHandle here = OpenFolderBelow(folder_, QString(), false);
        if (here.isOpen() && ::unlinkat(here.fd(), kRecordFolderName, AT_REMOVEDIR) == 0) {
            holds.madeRecordFolder.remove(folder_);
        }
    }
#else
    QFile::remove(RunMarkPath(folder_, RunTag()));
#endif
}

}  // namespace mirelune

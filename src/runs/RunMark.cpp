// SPDX-License-Identifier: GPL-3.0-or-later
#include "runs/RunMark.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>

#include "folders/RealFolders.h"
#include "naming/TemporaryResultName.h"
#include "runs/PerProcess.h"
#include "runs/RunMarkText.h"
#include "shell/PathHelpers.h"
#include "shell/Place.h"
#include "shell/RandomTag.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#include <cerrno>

namespace mirelune {
namespace {

// This process's mark in one folder, shared by the holds on that folder.
struct FolderMark {
    int holds = 0;
    int fd = -1;  // the mark, open for writing
    QByteArray header;
    qint64 size = 0;
    QList<QByteArray> inFlight;  // announced, not yet settled
};

struct Holds {
    QHash<QString, FolderMark> marks;  // by the folder's file key
    QSet<QString> swept;               // by absolute folder
    QSet<QString> madeRecordFolder;    // folders whose record folder this process made
};

Holds& HoldsOfThisProcess() {
    static Holds holds;
    return holds;
}

QByteArray MarkName() {
    return QFile::encodeName(RunTag() + QStringLiteral(".run"));
}

#ifdef Q_OS_UNIX
bool WriteAt(int fd, const QByteArray& bytes, qint64 offset) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done,
                                   static_cast<size_t>(bytes.size() - done), offset + done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += n;
    }
    return true;
}

// Opens the mark new, or this user's own regular file left at its name, and
// writes the header alone. The descriptor, or -1 with errno set.
int OpenMark(const FolderHandle& runs, const QByteArray& name, const QByteArray& header) {
    int fd = ::openat(runs.fd(), name.constData(),
                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0 && errno == EEXIST) {
        fd = ::openat(runs.fd(), name.constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        struct stat status {};
        if (fd >= 0 && (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
                        status.st_uid != ::geteuid())) {
            ::close(fd);
            errno = EEXIST;
            return -1;
        }
    }
    if (fd < 0) {
        return -1;
    }
    // The folder's entry is flushed too: a name announced in a mark that a
    // power loss took away would be a leftover nobody knows.
    if (::ftruncate(fd, 0) != 0 || !WriteAt(fd, header, 0) || ::fsync(fd) != 0 ||
        ::fsync(runs.fd()) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

bool PlaceMark(const QString& folder, FolderMark& mark, bool& madeFolder) {
    if (mark.fd >= 0) {
        // Its time, not its bytes: fusefat refuses to write past the end of
        // a file once a write has gone over its start without shortening it.
        return ::futimens(mark.fd, nullptr) == 0;
    }
    const QByteArray name = MarkName();
    mark.header = RunMarkText::header(OwnerOfThisProcess());
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
        mark.fd = OpenMark(runs, name, mark.header);
        if (mark.fd >= 0) {
            mark.size = mark.header.size();
            return true;
        }
        if (errno != ENOENT) {
            return false;
        }
    }
    return false;
}

TargetClock ClockOf(const FolderMark& mark) {
    struct stat status {};
    if (mark.fd < 0 || ::fstat(mark.fd, &status) != 0) {
        return TargetClock::Local();
    }
    return TargetClock::Of(ModifiedTimeOf(status.st_mtim.tv_sec, status.st_mtim.tv_nsec),
                           QDateTime::currentDateTime());
}
#else
bool PlaceMark(const QString& folder, FolderMark&, bool&) {
    QDir(folder).mkdir(QLatin1String(kRecordFolderName));
    return WriteRunMark(RunMarkPath(folder, RunTag()));
}

TargetClock ClockOf(const FolderMark&) {
    return TargetClock::Local();
}
#endif

}  // namespace

QString RunTag() {
    static PerProcess<QString> tag;
    return tag.get([] { return RandomTag(static_cast<int>(temporary_result::kRunTagLength)); });
}

QString RunFolderIn(const QString& folder) {
    return QDir(folder.isEmpty() ? QStringLiteral(".") : folder)
        .filePath(QLatin1String(kRecordFolderName));
}

QString RunMarkPath(const QString& folder, const QString& runTag) {
    return RunFolderIn(folder) + QLatin1Char('/') + runTag + QStringLiteral(".run");
}

RunMarkHold::RunMarkHold(const QString& folder, FolderSweep sweep) {
    // Holds on two spellings of one folder share its one mark: a mark of its
    // own would write over the other's announcements and go with the first
    // hold to end. Only the mark: the sets below outlive the folder, whose
    // file key a new folder may take.
    const Place place(folder.isEmpty() ? QStringLiteral(".") : folder);
    folder_ = place.absolutePath();
    key_ = place.fileKey();
    Holds& holds = HoldsOfThisProcess();
    FolderMark& mark = holds.marks[key_];
    ++mark.holds;
    bool made = false;
    marked_ = PlaceMark(folder_, mark, made);
    if (made) {
        holds.madeRecordFolder.insert(folder_);
    }
    clock_ = marked_ ? ClockOf(mark) : TargetClock::Local();
    if (sweep != nullptr && !holds.swept.contains(folder_)) {
        holds.swept.insert(folder_);
        sweep(folder_, clock_);
    }
}

bool RunMarkHold::announce(const QList<QByteArray>& fileNames) {
#ifdef Q_OS_UNIX
    FolderMark& mark = HoldsOfThisProcess().marks[key_];
    if (!marked_ || mark.fd < 0) {
        errno = EBADF;
        return false;
    }
    QByteArray lines;
    for (const QByteArray& name : fileNames) {
        lines += RunMarkText::announcement(name);
    }
    if (mark.size + lines.size() > kMaxRunMarkBytes) {
        errno = ENOBUFS;
        return false;
    }
    if (!WriteAt(mark.fd, lines, mark.size) || ::fsync(mark.fd) != 0) {
        return false;
    }
    mark.size += lines.size();
    mark.inFlight += fileNames;
    announced_ += fileNames;
    return true;
#else
    Q_UNUSED(fileNames);
    return marked_;
#endif
}

void RunMarkHold::settle(const QList<QByteArray>& fileNames) {
    FolderMark& mark = HoldsOfThisProcess().marks[key_];
    bool settled = false;
    for (const QByteArray& name : fileNames) {
        if (announced_.removeOne(name)) {
            mark.inFlight.removeOne(name);
            settled = true;
        }
    }
#ifdef Q_OS_UNIX
    if (!settled || mark.fd < 0) {
        return;
    }
    // Written over in place, and not flushed: a rewrite cut short leaves
    // whole lines of names announced before and lines RunMarkText never
    // reads as names, and a name that a power loss brings back was settled.
    QByteArray whole = mark.header;
    for (const QByteArray& name : mark.inFlight) {
        whole += RunMarkText::announcement(name);
    }
    if (WriteAt(mark.fd, whole, 0) && ::ftruncate(mark.fd, whole.size()) == 0) {
        mark.size = whole.size();
    }
#endif
}

RunMarkHold::~RunMarkHold() {
    // The last hold removes the mark: nothing to write into it first.
    if (HoldsOfThisProcess().marks[key_].holds > 1) {
        settle(announced_);
    }
    Holds& holds = HoldsOfThisProcess();
    FolderMark& mark = holds.marks[key_];
    if (--mark.holds > 0) {
        return;
    }
#ifdef Q_OS_UNIX
    const int fd = mark.fd;
    holds.marks.remove(key_);
    if (fd < 0) {
        return;
    }
    struct stat status {};
    const bool ours = ::fstat(fd, &status) == 0;
    ::close(fd);
    const FolderHandle runs = OpenRecordFolder(folder_, false);
    if (ours) {
        RemoveIfSame(runs, MarkName(), status);
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
    holds.marks.remove(key_);
    QFile::remove(RunMarkPath(folder_, RunTag()));
#endif
}

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "runs/ResultJournal.h"

#include <QCoreApplication>
#include <QDir>
#include <QSysInfo>
#include <cerrno>
#include <cstring>
#include <utility>

#include "folders/RealFolders.h"
#include "shell/NameText.h"
#include "shell/PathHelpers.h"
#include "shell/RandomTag.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace mirelune {
namespace {

constexpr int kTagLength = 8;
constexpr int kMaxHostLength = 32;

// A name every file system takes: letters, digits and hyphens.
QString JournalName() {
    QString host;
    for (const QChar c : QSysInfo::machineHostName().left(kMaxHostLength)) {
        host += c.isLetterOrNumber() && c.unicode() < 128 ? c : QChar('-');
    }
    return QStringLiteral("%1-%2-%3.log")
        .arg(host.isEmpty() ? QStringLiteral("host") : host)
        .arg(QCoreApplication::applicationPid())
        .arg(RandomTag(kTagLength));
}

}  // namespace

ResultJournal::ResultJournal(QString root) : root_(std::move(root)) {}

ResultJournal::~ResultJournal() {
#ifdef Q_OS_UNIX
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (madeFolder_) {
        // Left only when it holds nothing: another run's files keep it.
        const FolderHandle folder = OpenFolderBelow(root_, QString(), false);
        if (folder.isOpen()) {
            ::unlinkat(folder.fd(), kRecordFolderName, AT_REMOVEDIR);
        }
    }
#endif
}

namespace {

QString CannotRecord(const QString& root, int error) {
    const QString folder = ShownPath(QDir::toNativeSeparators(RecordFolderOf(root)));
    if (error == ELOOP || error == ENOTDIR) {
        return QCoreApplication::translate("ResultJournal",
                                           "%1 is not a folder (a link or a file): the records "
                                           "of results are kept only in a real folder; remove "
                                           "it, or choose another output folder")
            .arg(folder);
    }
    if (error == EACCES || error == EPERM || error == EROFS) {
        return QCoreApplication::translate(
                   "ResultJournal",
                   "could not write the record of results in %1: %2; ask its owner to let you "
                   "write there, or choose another output folder")
            .arg(folder, QString::fromLocal8Bit(std::strerror(error)));
    }
    return QCoreApplication::translate("ResultJournal",
                                       "could not write the record of results in %1: %2")
        .arg(folder, QString::fromLocal8Bit(std::strerror(error)));
}

#ifdef Q_OS_UNIX
bool WriteLine(int fd, const QByteArray& line) {
    // One write, so a crash leaves at most one torn line at the end.
    return ::write(fd, line.constData(), static_cast<size_t>(line.size())) == line.size() &&
           ::fsync(fd) == 0;
}
#endif

}  // namespace

QString ResultJournal::append(const ResultRecord& record) {
    const QByteArray line = RecordLine(record);
#ifdef Q_OS_UNIX
    if (fd_ >= 0) {
        if (WriteLine(fd_, line)) {
            return {};
        }
        const int error = errno;
        // The next record starts a journal of its own rather than run on
        // from a torn line.
        ::close(fd_);
        fd_ = -1;
        return QCoreApplication::translate("ResultJournal",
                                           "could not write the record of results %1: %2")
            .arg(ShownPath(QDir::toNativeSeparators(path_)),
                 QString::fromLocal8Bit(std::strerror(error)));
    }
    int error = ENOENT;
    // A run that made the record folder removes it when it ends empty; one
    // removed between our making sure of it and our file's making is made again.
    for (int attempt = 0; attempt < 5 && error == ENOENT; ++attempt) {
        bool made = false;
        const FolderHandle folder = OpenRecordFolder(root_, true, &made);
        madeFolder_ = madeFolder_ || made;
        if (!folder.isOpen()) {
            error = folder.error();
            continue;
        }
        const QString name = JournalName();
        const QByteArray native = QFile::encodeName(name);
        const int fd =
            ::openat(folder.fd(), native.constData(),
                     O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_APPEND | O_CLOEXEC, 0644);
        if (fd < 0) {
            error = errno;
            continue;
        }
        if (!WriteLine(fd, line)) {
            error = errno;
            ::close(fd);
            ::unlinkat(folder.fd(), native.constData(), 0);  // no empty journal stays
            break;
        }
        fd_ = fd;
        path_ = RecordFolderOf(root_) + QLatin1Char('/') + name;
        return {};
    }
    return CannotRecord(root_, error);
#else
    Q_UNUSED(line);
    return CannotRecord(root_, ENOSYS);
#endif
}

ResultJournal& ResultJournals::journalFor(const QString& root) {
    std::unique_ptr<ResultJournal>& journal = journals_[root];
    if (!journal) {
        journal = std::make_unique<ResultJournal>(root);
    }
    return *journal;
}

}  // namespace mirelune

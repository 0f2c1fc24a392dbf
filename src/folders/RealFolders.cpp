// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/RealFolders.h"

#include <QFile>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <utility>

#include "shell/PathHelpers.h"

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace mirelune {

FolderHandle::~FolderHandle() {
#ifdef Q_OS_UNIX
    if (fd_ >= 0) {
        ::close(fd_);
    }
#endif
}

FolderHandle::FolderHandle(FolderHandle&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), error_(other.error_) {}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
    if (this != &other) {
        FolderHandle gone(std::move(*this));
        fd_ = std::exchange(other.fd_, -1);
        error_ = other.error_;
    }
    return *this;
}

bool StaysBelow(const QString& relative) {
    if (relative.isEmpty() || relative.startsWith(QLatin1Char('/')) ||
        relative.startsWith(QChar(kPathSeparator)) || relative.contains(QChar(u'\0'))) {
        return false;
    }
    const QStringList steps = relative.split(QLatin1Char('/'));
    if (steps.first() == QLatin1String(kRecordFolderName)) {
        return false;
    }
    for (const QString& step : steps) {
        if (step.isEmpty() || step == QLatin1String(".") || step == QLatin1String("..")) {
            return false;
        }
    }
    return true;
}

#ifdef Q_OS_UNIX
namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// A step that is a link answers ELOOP, or ENOTDIR on some systems: both say
// the same here.
FolderHandle OpenStep(int at, const QByteArray& name, bool create) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fd = ::openat(at, name.constData(), kFolderFlags);
        if (fd >= 0) {
            return FolderHandle(fd);
        }
        if (errno != ENOENT || !create) {
            return FolderHandle(-1, errno);
        }
        if (::mkdirat(at, name.constData(), 0777) != 0 && errno != EEXIST) {
            return FolderHandle(-1, errno);
        }
    }
    return FolderHandle(-1, ENOENT);
}

// Whoever may write in the folder may write records beside it; where anyone
// but its owner may, nobody may remove or replace another's files.
void ShareLike(const FolderHandle& records, const FolderHandle& folder) {
    struct stat parent {};
    struct stat own {};
    if (::fstat(folder.fd(), &parent) != 0 || ::fstat(records.fd(), &own) != 0 ||
        own.st_uid != ::geteuid()) {
        return;
    }
    mode_t mode = own.st_mode & 07777;
    if ((parent.st_mode & S_IWGRP) != 0) {
        mode |= S_IRWXG;
    }
    if ((parent.st_mode & S_IWOTH) != 0) {
        mode |= S_IRWXO;
    }
    if ((mode & (S_IWGRP | S_IWOTH)) != 0) {
        mode |= S_ISVTX;
    }
    if (mode != (own.st_mode & 07777)) {
        ::fchmod(records.fd(), mode);  // FAT and exFAT keep no modes: ignored
    }
}

}  // namespace

FolderHandle OpenFolderBelow(const QString& root, const QString& relative, bool create) {
    const QByteArray rootName = QFile::encodeName(root.isEmpty() ? QStringLiteral(".") : root);
    FolderHandle folder(::open(rootName.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.isOpen()) {
        return FolderHandle(-1, errno);
    }
    if (relative.isEmpty()) {
        return folder;
    }
    if (!StaysBelow(relative)) {
        return FolderHandle(-1, EINVAL);
    }
    for (const QString& step : relative.split(QLatin1Char('/'))) {
        folder = OpenStep(folder.fd(), QFile::encodeName(step), create);
        if (!folder.isOpen()) {
            break;
        }
    }
    return folder;
}

FolderHandle OpenRecordFolder(const QString& folder, bool create, bool* made) {
    if (made != nullptr) {
        *made = false;
    }
    FolderHandle parent = OpenFolderBelow(folder, QString(), false);
    if (!parent.isOpen()) {
        return parent;
    }
    const QByteArray name(kRecordFolderName);
    FolderHandle records = OpenStep(parent.fd(), name, false);
    if (records.isOpen() || !create || records.error() != ENOENT) {
        if (records.isOpen() && create) {
            ShareLike(records, parent);
        }
        return records;
    }
    if (::mkdirat(parent.fd(), name.constData(), 0777) == 0 && made != nullptr) {
        *made = true;
    }
    records = OpenStep(parent.fd(), name, false);
    if (records.isOpen()) {
        ShareLike(records, parent);
    }
    return records;
}

QList<QByteArray> NamesIn(const FolderHandle& folder) {
    QList<QByteArray> names;
    const int fd = folder.isOpen() ? ::dup(folder.fd()) : -1;
    DIR* listing = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (listing == nullptr) {
        if (fd >= 0) {
            ::close(fd);
        }
        return names;
    }
    ::rewinddir(listing);
    while (const struct dirent* entry = ::readdir(listing)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..") {
            names.append(name);
        }
    }
    ::closedir(listing);
    return names;
}

std::optional<struct stat> StatusIn(const FolderHandle& folder, const QByteArray& name) {
    struct stat status {};
    if (!folder.isOpen() ||
        ::fstatat(folder.fd(), name.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return std::nullopt;
    }
    return status;
}

std::optional<SmallFile> ReadSmallFile(const FolderHandle& folder, const QByteArray& name,
                                       qint64 limit) {
    std::optional<SmallFile> file = ReadHead(folder, name, limit);
    if (!file || file->status.st_size > limit) {
        return std::nullopt;
    }
    return file;
}

std::optional<SmallFile> ReadHead(const FolderHandle& folder, const QByteArray& name,
                                  qint64 limit) {
    if (!folder.isOpen()) {
        return std::nullopt;
    }
    const int fd =
        ::openat(folder.fd(), name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    SmallFile file;
    const bool regular = ::fstat(fd, &file.status) == 0 && S_ISREG(file.status.st_mode);
    if (regular) {
        file.bytes.resize(static_cast<qsizetype>(std::min<qint64>(file.status.st_size, limit)));
        qint64 got = 0;
        while (got < file.bytes.size()) {
            const ssize_t n =
                ::read(fd, file.bytes.data() + got, static_cast<size_t>(file.bytes.size() - got));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                break;
            }
            got += n;
        }
        file.bytes.truncate(static_cast<qsizetype>(got));
    }
    ::close(fd);
    if (!regular) {
        return std::nullopt;
    }
    return file;
}

bool RemoveIfSame(const FolderHandle& folder, const QByteArray& name, const struct stat& status) {
    const std::optional<struct stat> now = StatusIn(folder, name);
    return now && SameFile(*now, status) && ::unlinkat(folder.fd(), name.constData(), 0) == 0;
}

#else  // not Unix: the folders as paths

FolderHandle OpenFolderBelow(const QString&, const QString&, bool) {
    return FolderHandle(-1, ENOSYS);
}

FolderHandle OpenRecordFolder(const QString&, bool, bool* made) {
    if (made != nullptr) {
        *made = false;
    }
    return FolderHandle(-1, ENOSYS);
}

QList<QByteArray> NamesIn(const FolderHandle&) {
    return {};
}

#endif

}  // namespace mirelune

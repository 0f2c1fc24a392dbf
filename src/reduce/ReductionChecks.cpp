// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/ReductionChecks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <cerrno>

#include "folders/RealFolders.h"
#include "landing/RowReasons.h"

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace mirelune {

bool StorageIsFull(qint64 bytesTotal, qint64 bytesAvailable) {
    // Some drivers (fusefat, some versions) report no size at all: that is
    // no full medium.
    return bytesTotal > 0 && bytesAvailable == 0;
}

bool NoSpaceIn(const QString& folder, const QString& encoderMessage) {
    if (encoderMessage.contains(QStringLiteral("No space left on device"), Qt::CaseInsensitive)) {
        return true;
    }
    const QStorageInfo storage(folder.isEmpty() ? QStringLiteral(".") : folder);
    return storage.isValid() && StorageIsFull(storage.bytesTotal(), storage.bytesAvailable());
}

unsigned SourceMode(const QString& source) {
#ifdef Q_OS_WIN
    Q_UNUSED(source);
    return 0666;
#else
    struct stat status {};
    if (::stat(QFile::encodeName(source).constData(), &status) != 0) {
        return 0666;
    }
    return status.st_mode & 07777;
#endif
}

bool SourceIsGone(const QString& source) {
    return !QFileInfo::exists(source);
}

QString FolderRefusal(const QString& root, const QString& folder) {
    if (root.isEmpty()) {
        return {};
    }
    const QString relative = QDir(root).relativeFilePath(folder);
    if (relative == QStringLiteral(".") || !StaysBelow(relative)) {
        return {};
    }
    const FolderHandle opened = OpenFolderBelow(root, relative, false);
    if (opened.isOpen() || (opened.error() != ELOOP && opened.error() != ENOTDIR)) {
        return {};  // a folder that is missing is the reservation's to report
    }
    return reason::FolderIsNoRealFolder(QDir::cleanPath(folder));
}

}  // namespace mirelune

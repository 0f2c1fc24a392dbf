// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/FileListing.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QCoreApplication>

#include "folders/DirectoryStream.h"
#include "folders/NativeNames.h"
#include "folders/NaturalNameOrder.h"
#include "folders/WildcardPattern.h"
#include "shell/NameText.h"
#include "shell/PathHelpers.h"

namespace mirelune {

namespace {

// name is looked up in the open folder folderFd (or from the working folder
// for AT_FDCWD), so a file deep down a tree costs no walk of its whole path.
bool OpensAsRegularFile(int folderFd, const char* name) {
    struct stat before {};
    if (::fstatat(folderFd, name, &before, 0) != 0 || !S_ISREG(before.st_mode)) {
        return false;
    }
    // The path may have been replaced since the stat: O_NONBLOCK keeps a FIFO
    // put there from blocking the open, and fstat checks what was opened.
    const int fd = ::openat(folderFd, name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat opened {};
    const bool regular = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode);
    ::close(fd);
    return regular;
}

}  // namespace

QStringList ListFolderFiles(const QString& folder, const QString& pattern,
                            const LeftOutNotice& leftOut) {
    QStringList names;
    const QString prefix = folder.endsWith(kPathSeparator) ? folder : folder + kPathSeparator;
    QByteArray nativeFolder;
    if (!EncodeNativePath(prefix, nativeFolder)) {
        return names;
    }
    DirectoryStream stream(nativeFolder);
    if (!stream.isOpen()) {
        return names;
    }
    const WildcardPattern wildcard(pattern);
    QStringList undecodable;
    QString name;
    while (const dirent* entry = stream.next()) {
        // The entry type, when the file system gives it, spares a stat for
        // every sub-folder; links and unknown types are settled by the open.
        // A name that is no text still matches by what can be read of it.
        if (entry->d_type == DT_DIR) {
            continue;
        }
        const bool decoded = DecodeNativeName(entry->d_name, name);
        if (!wildcard.matches(name) || !OpensAsRegularFile(stream.fd(), entry->d_name)) {
            continue;
        }
        if (decoded) {
            names.append(name);
        } else if (leftOut) {
            undecodable.append(EscapedNativeName(QByteArray(entry->d_name)));
        }
    }
    SortNaturally(names);
    SortNaturally(undecodable);
    for (const QString& shown : undecodable) {
        leftOut(prefix + shown,
                QCoreApplication::translate(left_out::kContext, left_out::kNameNotUtf8));
    }
    return names;
}

bool FileIsOpenable(const QString& path) noexcept {
    try {
        QByteArray native;
        return EncodeNativePath(path, native) && OpensAsRegularFile(AT_FDCWD, native.constData());
    } catch (...) {
        return false;
    }
}

}  // namespace mirelune

#include "folders/FileListing.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "folders/DirectoryStream.h"
#include "folders/NativeNames.h"
#include "folders/WildcardPattern.h"
#include "shell/PathHelpers.h"

namespace mirelune {

namespace {

bool OpensAsRegularFile(const QByteArray& native) {
    struct stat before {};
    if (::stat(native.constData(), &before) != 0 || !S_ISREG(before.st_mode)) {
        return false;
    }
    // The path may have been replaced since the stat: O_NONBLOCK keeps a FIFO
    // put there from blocking the open, and fstat checks what was opened.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat opened {};
    const bool regular = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode);
    ::close(fd);
    return regular;
}

}  // namespace

QStringList ListFolderFiles(const QString& folder, const QString& pattern) {
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
    QString name;
    while (const dirent* entry = stream.next()) {
        // The entry type, when the file system gives it, spares a stat for
        // every sub-folder; links and unknown types are settled by the open.
        if (entry->d_type == DT_DIR || !DecodeNativeName(entry->d_name, name) ||
            !wildcard.matches(name)) {
            continue;
        }
        if (OpensAsRegularFile(nativeFolder + entry->d_name)) {
            names.append(name);
        }
    }
    return names;
}

bool FileIsOpenable(const QString& path) noexcept {
    try {
        QByteArray native;
        return EncodeNativePath(path, native) && OpensAsRegularFile(native);
    } catch (...) {
        return false;
    }
}

}  // namespace mirelune

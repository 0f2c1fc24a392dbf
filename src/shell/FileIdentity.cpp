// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/FileIdentity.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace mirelune {

std::optional<FileIdentity> IdentityOf(const QString& path) {
    if (path.isEmpty() || path.contains(QChar(u'\0'))) {
        return std::nullopt;
    }
#ifdef Q_OS_WIN
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    // Folders open only with backup semantics; no access is needed to read
    // the index.
    HANDLE handle =
        ::CreateFileW(native.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = ::GetFileInformationByHandle(handle, &information) != 0;
    ::CloseHandle(handle);
    if (!known) {
        return std::nullopt;
    }
    return FileIdentity{
        information.dwVolumeSerialNumber,
        (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow,
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0};
#else
    const QByteArray native = QFile::encodeName(path);
    // A text that does not come back from its bytes would name another file.
    if (QFile::decodeName(native) != path) {
        return std::nullopt;
    }
    struct stat status {};
    if (::stat(native.constData(), &status) != 0) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(status.st_dev),
                        static_cast<std::uint64_t>(status.st_ino), S_ISDIR(status.st_mode)};
#endif
}

}  // namespace mirelune

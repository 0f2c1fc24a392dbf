// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/SystemFolderQueries.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "folders/DirectoryStream.h"
#include "folders/NativeNames.h"
#include "shell/NameText.h"

namespace mirelune {

namespace {

ListingFailure FailureOf(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return ListingFailure::AccessDenied;
        case ENOENT:
        case ENOTDIR:
            return ListingFailure::NotFound;
        default:
            return ListingFailure::Other;
    }
}

// The real folder an entry of the open folder folderFd is, links followed;
// nothing for anything else. Looked up from the open folder, so a folder deep
// down a tree costs no walk of its whole path.
std::optional<FileIdentity> FolderEntryIdentity(int folderFd, const dirent& entry) {
    if (entry.d_type != DT_DIR && entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) {
        return std::nullopt;
    }
    struct stat target {};
    if (::fstatat(folderFd, entry.d_name, &target, 0) != 0 || !S_ISDIR(target.st_mode)) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(target.st_dev),
                        static_cast<std::uint64_t>(target.st_ino), true};
}

bool IsDotEntry(const char* name) {
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

}  // namespace

FolderQueries& SystemFolders() {
    static SystemFolderQueries system;
    return system;
}

std::optional<FileIdentity> SystemFolderQueries::identity(const QString& folder) {
    const std::optional<FileIdentity> found = IdentityOf(folder);
    return found && found->isFolder ? found : std::nullopt;
}

SubFolderListing SystemFolderQueries::subFolders(const QString& folder) {
    SubFolderListing listing;
    QByteArray native;
    if (!EncodeNativePath(folder, native)) {
        listing.failure = ListingFailure::NotFound;
        return listing;
    }
    DirectoryStream stream(native);
    if (!stream.isOpen()) {
        listing.failure = FailureOf(errno);
        return listing;
    }
    QString name;
    while (const dirent* entry = stream.next()) {
        if (IsDotEntry(entry->d_name)) {
            continue;
        }
        const std::optional<FileIdentity> identity = FolderEntryIdentity(stream.fd(), *entry);
        if (!identity) {
            continue;
        }
        if (DecodeNativeName(entry->d_name, name)) {
            listing.folders.push_back({name, *identity});
        } else {
            listing.undecodable.append(EscapedNativeName(QByteArray(entry->d_name)));
        }
    }
    if (errno != 0) {
        listing.failure = FailureOf(errno);
    }
    return listing;
}

}  // namespace mirelune

#include "folders/SystemFolderQueries.h"

#include <sys/stat.h>

#include <cerrno>

#include "folders/DirectoryStream.h"
#include "folders/NativeNames.h"

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

bool IsFolderEntry(const QByteArray& nativeFolder, const dirent& entry) {
    if (entry.d_type == DT_DIR) {
        return true;
    }
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) {
        return false;
    }
    struct stat target {};
    return ::stat((nativeFolder + '/' + entry.d_name).constData(), &target) == 0 &&
           S_ISDIR(target.st_mode);
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
        if (!IsFolderEntry(native, *entry)) {
            continue;
        }
        if (DecodeNativeName(entry->d_name, name)) {
            listing.names.append(name);
        } else {
            listing.undecodable.append(ShownName(QByteArray(entry->d_name)));
        }
    }
    if (errno != 0) {
        listing.failure = FailureOf(errno);
    }
    return listing;
}

}  // namespace mirelune

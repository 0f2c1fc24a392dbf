#include "filelist/SystemFolderQueries.h"

#include <sys/stat.h>

#include <cerrno>

#include "filelist/DirectoryStream.h"
#include "filelist/NativeNames.h"

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

std::optional<FolderIdentity> SystemFolderQueries::identity(const QString& folder) {
    QByteArray native;
    struct stat st {};
    if (!EncodeNativePath(folder, native) || ::stat(native.constData(), &st) != 0 ||
        !S_ISDIR(st.st_mode)) {
        return std::nullopt;
    }
    return FolderIdentity{static_cast<std::uint64_t>(st.st_dev),
                          static_cast<std::uint64_t>(st.st_ino)};
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
        if (!DecodeNativeName(entry->d_name, name)) {
            // What the encoding cannot hold reads as "?", so the name rules
            // refuse the folder and everything below it.
            name.replace(QChar(QChar::ReplacementCharacter), QLatin1Char('?'));
            if (!name.contains(QLatin1Char('?'))) {
                name.append(QLatin1Char('?'));
            }
        }
        listing.names.append(name);
    }
    if (errno != 0) {
        listing.failure = FailureOf(errno);
    }
    return listing;
}

}  // namespace mirelune

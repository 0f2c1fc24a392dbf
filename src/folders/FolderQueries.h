// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "shell/FileIdentity.h"

namespace mirelune {

// Why listing a folder's sub-folders stopped early. The walk drops a folder
// it may not read or that has gone, and keeps one that failed otherwise.
enum class ListingFailure { None, AccessDenied, NotFound, Other };

// A folder found in another, and the real folder it is (links followed).
struct SubFolder {
    QString name;
    FileIdentity identity;
};

struct SubFolderListing {
    // Every entry that is a folder (links followed), in the file system's
    // order; not "." and "..".
    std::vector<SubFolder> folders;
    // The folders whose names are not valid in the file-name encoding, as the
    // escaped names (EscapedNativeName): no file operation can take them.
    QStringList undecodable;
    // The names above are those found before the failure.
    ListingFailure failure = ListingFailure::None;
};

// What the folder walk asks of the file system, kept apart so a test can make
// a listing fail in ways the test cannot cause for real.
class FolderQueries {
  public:
    virtual ~FolderQueries() = default;

    // The real folder at path (links followed); nothing when it cannot be reached.
    virtual std::optional<FileIdentity> identity(const QString& folder) = 0;
    virtual SubFolderListing subFolders(const QString& folder) = 0;
};

// The running system's folders.
FolderQueries& SystemFolders();

}  // namespace mirelune

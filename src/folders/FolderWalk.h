// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <vector>

#include "folders/FolderQueries.h"
#include "folders/LeftOutNames.h"

namespace mirelune {

class ErrorGuard;
class WindowLayer;

// An ordered list of folder paths, each ending in the path separator.
using FolderList = QStringList;

// One walk down one or more folder trees. Each real folder is walked at most
// once per FolderWalk object, whatever links lead to it again, so a link that
// points back up the tree ends the walk instead of repeating the tree until
// paths grow too long. Use a fresh object for each tree the user asks for.
class FolderWalk {
  public:
    // leftOut hears of every sub-folder the walk met but does not walk for
    // its name or its length.
    explicit FolderWalk(WindowLayer& window, FolderQueries& queries = SystemFolders(),
                        LeftOutNotice leftOut = {});

    FolderWalk(const FolderWalk&) = delete;
    FolderWalk& operator=(const FolderWalk&) = delete;

    // Appends to folders every folder below its entries, level by level: all
    // sub-folders of the entries, then all of theirs grouped by parent in
    // order, and so on. Within one parent the sub-folders come in natural
    // order (NaturalNameLess). The entries passed in stay in front. A folder
    // that may not be read, or that has gone, is dropped from folders; a
    // sub-folder whose name is not walkable (see IsWalkableFolderName) or not
    // valid in the file-name encoding is left out with everything below it,
    // and so is one whose path the system could not take; each of these is
    // told to leftOut. The window gets a chance to handle its events once per
    // folder examined and per sub-folder listed. Other failures are reported
    // through window and the walk goes on. The cost grows with the number of
    // folders met, not with the depth of the tree.
    void GetSubDirectories2016(FolderList& folders, bool recurse);

  private:
    // A sub-folder to examine at the next level, and the real folder it is.
    struct Found {
        QString folder;
        FileIdentity identity;
    };

    bool descendTest(const QString& folder, const std::optional<FileIdentity>& identity);
    // Appends folder's walkable sub-folders to next, in natural order, and
    // tells leftOut of those it cannot walk.
    ListingFailure listSubFolders(const QString& folder, std::vector<Found>& next);
    void tellLeftOut(const QString& path, const char* reason);

    WindowLayer& window_;
    FolderQueries& queries_;
    LeftOutNotice leftOut_;
    // Each real folder and the entry that first reached it.
    std::map<FileIdentity, QString> walked_;
};

}  // namespace mirelune

#pragma once

#include <QString>
#include <QStringList>
#include <map>

#include "folders/FolderQueries.h"

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
    explicit FolderWalk(WindowLayer& window, FolderQueries& queries = SystemFolders());

    FolderWalk(const FolderWalk&) = delete;
    FolderWalk& operator=(const FolderWalk&) = delete;

    // Appends to folders every folder below its entries, level by level: all
    // sub-folders of the entries, then all of theirs grouped by parent in
    // order, and so on. Within one parent the file system's order is kept.
    // The entries passed in stay in front. A folder that may not be read, or
    // that has gone, is dropped from folders; a sub-folder whose name is not
    // walkable (see IsWalkableFolderName) is left out with everything below
    // it, and so is a path the system could not take. The window gets a chance
    // to handle its events once per folder examined, per sub-folder listed
    // and per folder copied back. Other failures are reported through window
    // and the walk goes on.
    void GetSubDirectories2016(FolderList& folders, bool recurse);

  private:
    bool descendTest(const QString& folder, const std::optional<FileIdentity>& identity);
    void listSubFolders(FolderList& folders, int& index, const QString& folder, FolderList& found);

    WindowLayer& window_;
    FolderQueries& queries_;
    // Each real folder and the entry that first reached it.
    std::map<FileIdentity, QString> walked_;
};

}  // namespace mirelune

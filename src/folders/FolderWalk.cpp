#include "folders/FolderWalk.h"

#include <QFile>
#include <climits>

#include "folders/NameRules.h"
#include "shell/ErrorGuard.h"
#include "shell/ErrorLocations.h"
#include "shell/PathHelpers.h"
#include "shell/WindowLayer.h"

namespace mirelune {

namespace {

// Paths the system cannot take whole (with their terminating NUL) name nothing.
bool FitsPathLimit(const QString& folder) {
    return QFile::encodeName(folder).size() < PATH_MAX;
}

}  // namespace

FolderWalk::FolderWalk(WindowLayer& window, FolderQueries& queries)
    : window_(window), queries_(queries) {}

// A folder is entered once: by the first entry that reaches it. Its other
// paths (links, bind mounts) fail, so their trees are neither walked nor
// listed again, and a link loop ends.
bool FolderWalk::descendTest(const QString& folder, const std::optional<FileIdentity>& identity) {
    if (!identity) {
        return false;
    }
    const auto [walked, first] = walked_.try_emplace(*identity, folder);
    return first || walked->second == folder;
}

void FolderWalk::GetSubDirectories2016(FolderList& folders, bool recurse) {
    ErrorGuard g(window_, QString::fromUtf8(location::kGetSubDirectories2016));
    FolderList found;
    for (int i = 0; i < folders.size() && !window_.isClosing();) {
        QString v;
        g.step(106, [&] { v = folders.at(i); });
        if (g.test(108, [&] { return !IsFolder(v); })) {
            ++i;
            continue;
        }
        if (g.test(110, [&] { return !FitsPathLimit(v); })) {
            ++i;
            continue;
        }
        std::optional<FileIdentity> identity;
        g.step(112, [&] { identity = queries_.identity(v); });
        g.step(114, [&] { window_.yieldToEvents(); });
        if (g.test(116, [&] { return !descendTest(v, identity); })) {
            ++i;
            continue;
        }
        listSubFolders(folders, i, v, found);
    }
    if (window_.isClosing()) {
        return;  // the window has gone: nothing will read what was found
    }
    if (recurse && !found.isEmpty()) {
        g.step(150, [&] { GetSubDirectories2016(found, true); });
    }
    for (int k = 0; k < found.size(); ++k) {
        QString entry;
        g.step(152, [&] { entry = found.at(k); });
        if (g.test(154, [&] { return IsFolder(entry); })) {
            g.step(156, [&] { window_.yieldToEvents(); });
            if (g.test(158, [&] { return descendTest(entry, queries_.identity(entry)); })) {
                g.step(160, [&] { folders.append(entry); });
            }
        }
    }
}

// The listing guard: nothing in here is reported. A folder that may not be
// read or has gone is dropped from folders, so its files are not listed
// either; any other failure ends this folder's listing and keeps what was
// found. Either way the walk goes on with the entry after index.
void FolderWalk::listSubFolders(FolderList& folders, int& index, const QString& folder,
                                FolderList& found) {
    ListingFailure failure = ListingFailure::None;
    try {
        const SubFolderListing listing = queries_.subFolders(folder);
        failure = listing.failure;
        for (const QString& name : listing.names) {
            window_.yieldToEvents();
            if (IsWalkableFolderName(name)) {
                found.append(folder + name + kPathSeparator);
            }
        }
    } catch (...) {
        failure = ListingFailure::Other;
    }
    if (failure == ListingFailure::AccessDenied || failure == ListingFailure::NotFound) {
        const qsizetype at = folders.indexOf(folder);
        if (at >= 0) {
            folders.removeAt(at);
            if (at <= index) {
                return;  // the next entry has moved up to index
            }
        }
    }
    ++index;
}

}  // namespace mirelune

#include "folders/FolderWalk.h"

#include <QFile>
#include <climits>
#include <utility>

#include "folders/NameRules.h"
#include "folders/NaturalNameOrder.h"
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

bool IsDotName(const QString& name) {
    return name == QStringLiteral(".") || name == QStringLiteral("..");
}

}  // namespace

FolderWalk::FolderWalk(WindowLayer& window, FolderQueries& queries, LeftOutNotice leftOut)
    : window_(window), queries_(queries), leftOut_(std::move(leftOut)) {}

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

// Level by level without recursion: each folder is examined, and its
// sub-folders listed, exactly once, and what a level found is kept as it was
// found. Nothing is examined again when the levels are put together, so the
// walk costs what its folders cost, however deep the tree.
void FolderWalk::GetSubDirectories2016(FolderList& folders, bool recurse) {
    ErrorGuard g(window_, QString::fromUtf8(location::kGetSubDirectories2016));
    FolderList found;
    walkLevel(g, folders, found, nullptr, true);
    FolderList below;
    while (!found.isEmpty() && !window_.isClosing()) {
        FolderList level;
        level.swap(found);
        walkLevel(g, level, found, &below, recurse);
    }
    if (window_.isClosing()) {
        return;  // the window has gone: nothing will read what was found
    }
    g.step(160, [&] { folders.append(below); });
}

void FolderWalk::walkLevel(ErrorGuard& g, FolderList& level, FolderList& next, FolderList* entered,
                           bool list) {
    for (int i = 0; i < level.size() && !window_.isClosing();) {
        QString v;
        g.step(106, [&] { v = level.at(i); });
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
        const bool kept = !list || listSubFolders(level, i, v, next);
        if (!list) {
            ++i;
        }
        if (kept && entered != nullptr) {
            g.step(152, [&] { entered->append(v); });
        }
    }
}

// The listing guard: nothing in here is reported. A folder that may not be
// read or has gone is dropped from level, so its files are not listed either;
// any other failure ends this folder's listing and keeps what was found.
// Either way the walk goes on with the entry after index. Returns whether the
// folder stays.
bool FolderWalk::listSubFolders(FolderList& level, int& index, const QString& folder,
                                FolderList& next) {
    ListingFailure failure = ListingFailure::None;
    try {
        SubFolderListing listing = queries_.subFolders(folder);
        failure = listing.failure;
        SortNaturally(listing.names);
        for (const QString& name : std::as_const(listing.names)) {
            window_.yieldToEvents();
            if (IsDotName(name)) {
                continue;
            }
            if (!IsWalkableFolderName(name)) {
                tellLeftOut(folder + name, left_out::kUnsafeFolderName);
                continue;
            }
            QString entry = folder + name + kPathSeparator;
            if (!FitsPathLimit(entry)) {
                tellLeftOut(folder + name, left_out::kFolderPathTooLong);
                continue;
            }
            next.append(std::move(entry));
        }
        SortNaturally(listing.undecodable);
        for (const QString& shown : std::as_const(listing.undecodable)) {
            window_.yieldToEvents();
            tellLeftOut(folder + shown, left_out::kFolderNameNotUtf8);
        }
    } catch (...) {
        failure = ListingFailure::Other;
    }
    if (failure == ListingFailure::AccessDenied || failure == ListingFailure::NotFound) {
        const qsizetype at = level.indexOf(folder);
        if (at >= 0) {
            level.removeAt(at);
            if (at <= index) {
                // The next entry has moved up to index.
                return at != index;
            }
        }
    }
    ++index;
    return true;
}

void FolderWalk::tellLeftOut(const QString& path, const char* reason) {
    if (leftOut_) {
        leftOut_(path, QString::fromUtf8(reason));
    }
}

}  // namespace mirelune

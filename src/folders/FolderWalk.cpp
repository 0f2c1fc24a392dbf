// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/FolderWalk.h"

#include <QCoreApplication>
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

bool DropsTheFolder(ListingFailure failure) {
    return failure == ListingFailure::AccessDenied || failure == ListingFailure::NotFound;
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

// Level by level without recursion. Each folder is examined, and its
// sub-folders listed, exactly once; a sub-folder's identity comes with the
// listing that found it, looked up from the open parent. Nothing is examined
// again when the levels are put together, and no path is walked more than
// once, so the walk costs what its folders cost, however deep the tree.
void FolderWalk::GetSubDirectories2016(FolderList& folders, bool recurse) {
    ErrorGuard g(window_, QString::fromUtf8(location::kGetSubDirectories2016));
    std::vector<Found> found;
    for (int i = 0; i < folders.size() && !window_.isClosing();) {
        QString v;
        g.step(106, [&] { v = folders.at(i); });
        // The folder test and the identity are one look at the folder.
        std::optional<FileIdentity> identity;
        if (g.test(108, [&] {
                identity = queries_.identity(v);
                return !identity;
            })) {
            ++i;
            continue;
        }
        if (g.test(110, [&] { return !FitsPathLimit(v); })) {
            ++i;
            continue;
        }
        g.step(114, [&] { window_.yieldToEvents(); });
        if (g.test(116, [&] { return !descendTest(v, identity); })) {
            ++i;
            continue;
        }
        if (!DropsTheFolder(listSubFolders(v, found))) {
            ++i;
            continue;
        }
        // The first entry of that text goes, and the entry after the folder
        // just listed moves up to i.
        folders.removeAt(folders.indexOf(v));
    }
    FolderList below;
    while (!found.empty() && !window_.isClosing()) {
        std::vector<Found> level;
        level.swap(found);
        for (const Found& entry : level) {
            if (window_.isClosing()) {
                break;
            }
            g.step(114, [&] { window_.yieldToEvents(); });
            if (g.test(116, [&] { return !descendTest(entry.folder, entry.identity); })) {
                continue;
            }
            if (recurse && DropsTheFolder(listSubFolders(entry.folder, found))) {
                continue;
            }
            g.step(152, [&] { below.append(entry.folder); });
        }
    }
    if (window_.isClosing()) {
        return;  // the window has gone: nothing will read what was found
    }
    g.step(160, [&] { folders.append(below); });
}

// The listing guard: nothing in here is reported. A failure ends this
// folder's listing and keeps what was found; the caller drops a folder that
// may not be read or has gone.
ListingFailure FolderWalk::listSubFolders(const QString& folder, std::vector<Found>& next) {
    ListingFailure failure = ListingFailure::None;
    try {
        SubFolderListing listing = queries_.subFolders(folder);
        failure = listing.failure;
        QStringList names;
        names.reserve(static_cast<qsizetype>(listing.folders.size()));
        for (const SubFolder& sub : listing.folders) {
            names.append(sub.name);
        }
        for (const std::size_t k : NaturalOrderOf(names)) {
            const SubFolder& sub = listing.folders[k];
            window_.yieldToEvents();
            if (IsDotName(sub.name) || sub.name == QLatin1String(kRecordFolderName)) {
                continue;
            }
            if (!IsWalkableFolderName(sub.name)) {
                tellLeftOut(folder + sub.name, left_out::kUnsafeFolderName);
                continue;
            }
            QString entry = folder + sub.name + kPathSeparator;
            if (!FitsPathLimit(entry)) {
                tellLeftOut(folder + sub.name, left_out::kFolderPathTooLong);
                continue;
            }
            next.push_back({std::move(entry), sub.identity});
        }
        SortNaturally(listing.undecodable);
        for (const QString& shown : std::as_const(listing.undecodable)) {
            window_.yieldToEvents();
            tellLeftOut(folder + shown, left_out::kFolderNameNotUtf8);
        }
    } catch (...) {
        failure = ListingFailure::Other;
    }
    return failure;
}

void FolderWalk::tellLeftOut(const QString& path, const char* reason) {
    if (leftOut_) {
        leftOut_(path, QCoreApplication::translate(left_out::kContext, reason));
    }
}

}  // namespace mirelune

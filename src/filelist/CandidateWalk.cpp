// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/CandidateWalk.h"

#include "filelist/RefusedFiles.h"
#include "folders/FileListing.h"
#include "folders/FolderWalk.h"
#include "folders/OpenFolders.h"
#include "shell/ErrorGuard.h"
#include "shell/PathHelpers.h"
#include "shell/WindowLayer.h"

namespace mirelune {

void OfferFolderTreeFiles(const QString& folder, const QString& pattern, WindowLayer& window,
                          ErrorGuard& guard, const CandidateCallback& offer, RefusedFiles& refused,
                          FolderQueries& queries) {
    const LeftOutNotice leftOut = [&refused](const QString& path, const QString& reason) {
        refused.leaveOut(path, reason);
    };
    const OpenFolders openFolders;  // the walk, then the listings, down one tree
    FolderList folders;
    guard.step(116, [&] {
        // The root folder already ends in its separator.
        folders.append(folder.endsWith(kPathSeparator) ? folder : folder + kPathSeparator);
    });
    guard.step(118,
               [&] { FolderWalk(window, queries, leftOut).GetSubDirectories2016(folders, true); });
    // A closed window ends the walk at the next folder.
    for (int i = 0; i < folders.size() && !window.isClosing(); ++i) {
        QString entry;
        guard.step(120, [&] { entry = folders.at(i); });
        QString folderPath;
        guard.step(122, [&] { folderPath = entry.left(entry.size() - 1); });
        QStringList names;
        guard.step(124, [&] { names = ListFolderFiles(folderPath, pattern, leftOut); });
        for (int k = 0; k < names.size() && !window.isClosing(); ++k) {
            QString name;
            guard.step(126, [&] { name = names.at(k); });
            if (guard.test(128, [&] { return name.startsWith(QLatin1Char('~')); })) {
                continue;
            }
            QString path;
            guard.step(130, [&] { path = folderPath + kPathSeparator + name; });
            // A callback that fails outside its own steps still ends only
            // this file.
            guard.step(kWalkedCandidateFirstStep,
                       [&] { offer(path, guard, kWalkedCandidateFirstStep, refused); });
        }
    }
}

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "filelist/CandidateWalk.h"

class QMimeData;

namespace mirelune {

class RefusedFiles;
class WindowLayer;

// The list takes drops of local files and folders only (text/uri-list with at
// least one local file); anything else is refused while it is dragged.
bool CarriesLocalFiles(const QMimeData& data);

// The dropped local paths in the order of the data; other addresses are left
// out. A local path whose bytes are not valid UTF-8 names no file as text: it
// goes to unnamable instead, kept losslessly (EscapedNativeName).
QStringList DroppedLocalPaths(const QMimeData& data, RefusedFiles& unnamable);

// The candidate steps of a dropped file, in the drop's own numbering.
inline constexpr int kDroppedFileFirstStep = 106;
// The summary of what the drop could not take, after every path.
inline constexpr int kDropSummaryStep = 146;

// Offers what was dropped, in order: a folder's whole tree (every file,
// except names starting with "~"), each folder walked once per drop; a file
// as it is, whatever its name. A path that has gone since the drag began is
// skipped without a word. Names the walk cannot take go to refused. Failures
// are reported as the list's drop handler's.
void OfferDroppedPaths(const QStringList& paths, WindowLayer& window,
                       const CandidateCallback& offer, RefusedFiles& refused,
                       FolderQueries& queries = SystemFolders());

// The list's drop: OfferDroppedPaths, then one box naming whatever the drop
// refused (RefusedFiles::show), after what refused already holds.
void AddDroppedPaths(const QStringList& paths, WindowLayer& window, const CandidateCallback& offer,
                     RefusedFiles refused, FolderQueries& queries = SystemFolders());

// The paths OfferDroppedPaths would offer, in its order, for a tool that
// collects files instead of reading them into the list (the command line);
// files and folders left out for their names go to leftOut.
QStringList CollectDroppedFiles(const QStringList& paths, WindowLayer& window,
                                RefusedFiles& leftOut);

}  // namespace mirelune

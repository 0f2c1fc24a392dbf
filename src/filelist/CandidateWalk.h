// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

#include "folders/FolderQueries.h"

namespace mirelune {

class ErrorGuard;
class RefusedFiles;
class WindowLayer;

// Takes one file that a filler found: the window reads it and adds a row or
// refuses it, a command-line tool collects it. guard is the calling
// operation's; the candidate's own steps are numbered from firstStep (134 to
// 140 in the folder scan), so a failure while reading the file is reported
// with the caller's location and the file can still be refused afterwards.
// refused collects what the whole action could not take.
using CandidateCallback = std::function<void(const QString& path, ErrorGuard& guard, int firstStep,
                                             RefusedFiles& refused)>;

// The candidate steps of a walked file, the same in every filler that walks.
inline constexpr int kWalkedCandidateFirstStep = 134;

// Offers every file of the tree at folder to offer: the folder itself first,
// then its sub-folders level by level (FolderWalk), each folder's files in
// natural order (NaturalNameLess). Only names matching pattern
// (WildcardPattern) are offered, and never one that starts with "~", which
// marks an editor's or office program's temporary file. Files and folders
// that the walk or the listing met but cannot take for their names go to
// refused with the reason. Steps 116 to 142 of guard.
void OfferFolderTreeFiles(const QString& folder, const QString& pattern, WindowLayer& window,
                          ErrorGuard& guard, const CandidateCallback& offer, RefusedFiles& refused,
                          FolderQueries& queries = SystemFolders());

}  // namespace mirelune

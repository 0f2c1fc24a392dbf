// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

#include "filelist/CandidateWalk.h"

namespace mirelune {

class SettingsStore;
class WindowLayer;

// What the folder scan needs of the main window.
struct FolderScanHost {
    WindowLayer& window;
    SettingsStore& settings;
    // true: the busy pointer, which also stops the list's remove and clear;
    // false: the normal pointer again.
    std::function<void(bool busy)> setBusyPointer;
    // The window's AddCandidateFile.
    CandidateCallback offerCandidate;
};

inline constexpr char kExtensionPrompt[] =
    QT_TRANSLATE_NOOP("FolderScan",
                      "Enter file extension to load:\r\r"
                      "(* for all files, txt for all txt files, doc for all doc files, etc.)");
inline constexpr char kFolderBrowserTitle[] =
    QT_TRANSLATE_NOOP("FolderScan", "Please select folder:");

// "Add All MP3 File(s) In Folder": asks for an extension and a folder, then
// offers every file of the folder's tree that carries the extension, with the
// busy pointer shown, and ends with one box naming whatever was refused. The
// extension is used exactly as typed: "*" takes every file. Cancelling either
// question changes nothing further; a typed extension is remembered even when
// the folder question is then cancelled.
void RunFolderScan(FolderScanHost& host);

// The folder last chosen for a scan in this process; empty before the first.
QString RememberedLastFolder();

}  // namespace mirelune

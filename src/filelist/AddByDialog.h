// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "filelist/FileListFiller.h"

namespace mirelune {

inline constexpr char kAddFilesDialogTitle[] =
    "Add File(s) - Hold Ctrl or Shift to select multiple files";
inline constexpr char kMp3FilesFilter[] = "Mp3 Files (*.mp3)";

// The "Add MP3 File(s)" button: the user picks any number of files, and each
// one, in the dialog's order, is listed or refused; one box at the end names
// the refused ones. Guarded with the button's location and step numbers.
void AddFilesByDialog(const FileListFiller& filler);

}  // namespace mirelune

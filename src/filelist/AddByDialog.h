// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include "filelist/FileListFiller.h"

namespace mirelune {

inline constexpr char kAddFilesDialogTitle[] =
    QT_TRANSLATE_NOOP("AddByDialog", "Add File(s) - Hold Ctrl or Shift to select multiple files");
inline constexpr char kMp3FilesFilter[] = QT_TRANSLATE_NOOP("AddByDialog", "Mp3 Files (*.mp3)");

// The "Add MP3 File(s)" button: the user picks any number of files, and each
// one, in the dialog's order, is listed or refused; one box at the end names
// the refused ones. Guarded with the button's location and step numbers.
void AddFilesByDialog(const FileListFiller& filler);

}  // namespace mirelune

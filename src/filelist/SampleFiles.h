// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <QtGlobal>

namespace mirelune {

namespace mp3 {
class MP3Info;
}

class RefusedFiles;
class SampleRows;
class WindowLayer;

inline constexpr char kOpenSampleFolderQuestion[] =
    QT_TRANSLATE_NOOP("SampleFiles",
                      "Would you like this software to open the folder where these sample files "
                      "are stored (so that you can view them before working with them)?");

// The "Samples" folder beside the program, without a trailing separator.
QString SampleFolder(const QString& applicationFolder);

// Whether some row's path is exactly path (case-sensitive).
bool PathIsListed(const SampleRows& rows, const QString& path);

// Appends each sample file not listed yet, with an empty bitrate cell, then
// offers to open the sample folder in the desktop's file browser. The offer is
// made even when there are no sample files. A sample file whose name cannot
// be held as text goes to refused.
void LoadSampleFiles(SampleRows& rows, WindowLayer& window, const QString& applicationFolder,
                     RefusedFiles& refused);

// "Load Sample/Example Files": LoadSampleFiles, then every row of the list
// read again from the last to the first, so removals leave the rows still to
// come where they were. A valid file gets its bitrate text; any other row is
// removed, and one box at the end names them all, in list order.
void LoadSampleFilesAndRereadRows(SampleRows& rows, WindowLayer& window, mp3::MP3Info& info,
                                  const QString& applicationFolder);

}  // namespace mirelune

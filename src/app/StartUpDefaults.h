// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace mirelune {

// The draw that opens the home page, on one start in a hundred.
inline constexpr int kHomePageDraw = 7;

// A whole number from 1 to 100, drawn afresh at each call.
int DrawPercent();

// The output folder offered before the user has chosen one: the desktop
// folder when there is one, else the home folder, with a trailing separator.
QString DefaultOutputFolder();

// Where the sample files, the style sheet and the pointer files are looked
// up, without a trailing separator: share/mirelune beside the program's own
// bin folder when the program is installed, else the program's own folder
// (the build tree). Found from where the program is, so an installed tree
// moved elsewhere still finds its files.
QString ApplicationFolderOf(const QString& programFolder);
// The same for the running program.
QString ApplicationFolder();

}  // namespace mirelune

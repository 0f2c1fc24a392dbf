#pragma once

#include <QString>

namespace mirelune {

// The project's home page, opened at random on one start in a hundred.
inline constexpr char kHomePageAddress[] = "https://mirelune.example/";
// The draw that opens it.
inline constexpr int kHomePageDraw = 7;

// A whole number from 1 to 100, drawn afresh at each call.
int DrawPercent();

// The output folder offered before the user has chosen one: the desktop
// folder when there is one, else the home folder, with a trailing separator.
QString DefaultOutputFolder();

}  // namespace mirelune

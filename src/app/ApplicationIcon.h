// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace mirelune {

// The program's icon, the same picture the desktop shows for the installed
// program: the bitmaps rendered at build time from the icon's one SVG file,
// carried as a resource so it needs no image plugin.
QIcon ApplicationIcon();

}  // namespace mirelune

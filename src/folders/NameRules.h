// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace mirelune {

// True when name holds a character a folder walk should not follow: a
// control character (below 32, or 127 to 159). A "?" is an ordinary
// character here ("Who Are You?"); a name the system could not represent
// reaches us as one that is not valid UTF-8, which is reported elsewhere.
bool HasUnsafeNameChars(const QString& name);

// Whether a sub-folder called name is walked: a name that fits the file
// system, holds no unsafe character, and is not "." or "..".
bool IsWalkableFolderName(const QString& name);

}  // namespace mirelune

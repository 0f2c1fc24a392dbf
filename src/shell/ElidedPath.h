// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

namespace mirelune {

// How wide a text is, in whatever unit the room is counted in: pixels of a
// font, or characters.
using TextWidth = std::function<int(const QString&)>;

// A path cut to fit room so that the file name stays in sight: the folder
// part gives way first, cut at its middle ("/home/an…/Album/01 - Song.mp3",
// down to "…/01 - Song.mp3"); only a file name wider than the room is cut
// itself, at its middle, keeping its extension ("…/01 - The…Title.mp3"). A
// path that fits comes back as it is.
QString ElidePath(const QString& path, int room, const TextWidth& width);

// The same with room counted in characters, for lines that have no column.
QString ElidePathToLength(const QString& path, int characters);

}  // namespace mirelune

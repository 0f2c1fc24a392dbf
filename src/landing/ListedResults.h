// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstddef>
#include <optional>
#include <vector>

namespace mirelune {

// A listed file as the search for results among the listed files sees it.
struct ListedFile {
    QString path;
    bool mp3 = false;  // a result is always an MP3 file
    QString wanted;    // where its own result goes before any " (2)"; empty: it makes none
};

// For each listed file, the index of the listed file whose result it is: a
// file at another's wanted output, or at that name numbered " (N)" as a
// collision would number it. Only a file that is not a result itself makes
// results, so song-reduced-reduced.mp3 stays a source of its own whether or
// not song-reduced.mp3, the result of song.mp3, is there yet. Results are
// found before any name is given, so the names given never depend on which
// results are already there.
std::vector<std::optional<std::size_t>> FindListedResults(const std::vector<ListedFile>& files);

}  // namespace mirelune

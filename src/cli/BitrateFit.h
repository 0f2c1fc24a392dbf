// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace mirelune::cli {

// A file system results go to, as the fit counts it.
struct FitFileSystem {
    // What may still be written there; nothing where it reports no size.
    std::optional<std::uint64_t> free{};
    // Every file takes whole units of this (a FAT stick's cluster).
    std::uint64_t unit = 1;
    // No swapping of names: a result is copied into its held name, so while
    // it lands it is there twice.
    bool copiesIn = true;
};

// One result to be made, at one bitrate.
struct FitRow {
    std::size_t fileSystem = 0;     // index into the file systems
    std::size_t folder = 0;         // the folder it goes to, by index
    std::size_t recordRoot = 0;     // the folder whose journal records it, by index
    std::uint64_t bytes = 0;        // the prediction's upper bound; 0 when it fails
    std::uint64_t replaced = 0;     // the file it replaces, 0 when none
    std::uint64_t recordBytes = 0;  // a bound on its journal lines
};

// What the rows take on each file system, whole units counted: the results,
// less what they replace, the journals, each folder's record folder and run
// mark, and the `jobs` largest results in flight at once (held twice where
// results are copied in; a file they replace stays until they land).
std::vector<std::int64_t> BytesNeeded(const std::vector<FitRow>& rows,
                                      const std::vector<FitFileSystem>& fileSystems, int jobs);

// Where the rows' needs are judged: against one size for all file systems
// together, else each against its own free space.
struct FitRoom {
    std::optional<std::uint64_t> size{};
    std::vector<FitFileSystem> fileSystems;
};

struct FitChoice {
    // Index of the highest bitrate that fits; nothing when none does.
    std::optional<std::size_t> chosen{};
    // The file system the answer is told for (where the next bitrate, or the
    // lowest, runs out of room), or every one together with a size.
    std::optional<std::size_t> fileSystem{};
    std::uint64_t room = 0;
    std::int64_t needed = 0;      // at the chosen bitrate (at the lowest when none fits)
    std::int64_t nextNeeded = 0;  // at the bitrate above the chosen one, if any
};

// rowsAt[k]: the rows at the k-th bitrate of an ascending list.
FitChoice ChooseBitrate(const std::vector<std::vector<FitRow>>& rowsAt, const FitRoom& room,
                        int jobs);

}  // namespace mirelune::cli

// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/BitrateFit.h"

#include <algorithm>
#include <functional>
#include <map>
#include <numeric>

namespace mirelune::cli {
namespace {

// A journal, a record folder and a run mark each take at least one unit.
constexpr std::int64_t kUnitsPerFolder = 2;

std::int64_t InUnits(std::uint64_t bytes, std::uint64_t unit) {
    const std::uint64_t u = std::max<std::uint64_t>(unit, 1);
    return static_cast<std::int64_t>((bytes + u - 1) / u * u);
}

std::int64_t Sum(const std::vector<std::int64_t>& values) {
    return std::accumulate(values.begin(), values.end(), std::int64_t{0});
}

}  // namespace

std::vector<std::int64_t> BytesNeeded(const std::vector<FitRow>& rows,
                                      const std::vector<FitFileSystem>& fileSystems, int jobs) {
    std::vector<std::int64_t> needed(fileSystems.size(), 0);
    std::vector<std::vector<std::int64_t>> inFlight(fileSystems.size());
    std::map<std::size_t, std::size_t> folders;  // folder -> its file system
    std::map<std::size_t, std::pair<std::size_t, std::uint64_t>> journals;  // root -> fs, bytes
    for (const FitRow& row : rows) {
        const FitFileSystem& fs = fileSystems.at(row.fileSystem);
        needed[row.fileSystem] += InUnits(row.bytes, fs.unit) - InUnits(row.replaced, fs.unit);
        inFlight[row.fileSystem].push_back(
            (fs.copiesIn ? InUnits(row.bytes, fs.unit) : InUnits(1, fs.unit)) +
            InUnits(row.replaced, fs.unit));
        folders.emplace(row.folder, row.fileSystem);
        auto& journal =
            journals.emplace(row.recordRoot, std::make_pair(row.fileSystem, 0)).first->second;
        journal.second += row.recordBytes;
    }
    for (const auto& [folder, fs] : folders) {
        needed[fs] += kUnitsPerFolder * InUnits(1, fileSystems[fs].unit);
    }
    for (const auto& [root, journal] : journals) {
        needed[journal.first] += InUnits(journal.second, fileSystems[journal.first].unit);
    }
    const auto together = static_cast<std::size_t>(std::max(jobs, 1));
    for (std::size_t fs = 0; fs < fileSystems.size(); ++fs) {
        std::vector<std::int64_t>& sizes = inFlight[fs];
        const std::size_t largest = std::min(together, sizes.size());
        std::partial_sort(sizes.begin(), sizes.begin() + static_cast<std::ptrdiff_t>(largest),
                          sizes.end(), std::greater<>());
        needed[fs] += std::accumulate(
            sizes.begin(), sizes.begin() + static_cast<std::ptrdiff_t>(largest), std::int64_t{0});
    }
    return needed;
}

FitChoice ChooseBitrate(const std::vector<std::vector<FitRow>>& rowsAt, const FitRoom& room,
                        int jobs) {
    std::vector<std::vector<std::int64_t>> needs;
    needs.reserve(rowsAt.size());
    for (const std::vector<FitRow>& rows : rowsAt) {
        needs.push_back(BytesNeeded(rows, room.fileSystems, jobs));
    }
    // The first file system short of room at bitrate k; none when it fits.
    const auto shortOn = [&](std::size_t k) -> std::optional<std::size_t> {
        if (room.size) {
            return Sum(needs[k]) > static_cast<std::int64_t>(*room.size)
                       ? std::optional<std::size_t>(0)
                       : std::nullopt;
        }
        for (std::size_t fs = 0; fs < room.fileSystems.size(); ++fs) {
            const std::optional<std::uint64_t>& free = room.fileSystems[fs].free;
            if (needs[k][fs] > (free ? static_cast<std::int64_t>(*free) : 0)) {
                return fs;
            }
        }
        return std::nullopt;
    };
    FitChoice choice;
    for (std::size_t k = rowsAt.size(); k-- > 0;) {
        if (!shortOn(k)) {
            choice.chosen = k;
            break;
        }
    }
    if (rowsAt.empty()) {
        return choice;
    }
    const std::size_t told = choice.chosen.value_or(0);
    const std::optional<std::size_t> above = choice.chosen && *choice.chosen + 1 < rowsAt.size()
                                                 ? std::optional(*choice.chosen + 1)
                                                 : std::nullopt;
    std::size_t fs = 0;
    if (!room.size) {
        if (const std::optional<std::size_t> limit = shortOn(above.value_or(told))) {
            fs = *limit;
        } else {
            // Everything fits: the file system with the least room to spare.
            std::int64_t least = 0;
            for (std::size_t i = 0; i < room.fileSystems.size(); ++i) {
                const std::int64_t spare =
                    static_cast<std::int64_t>(room.fileSystems[i].free.value_or(0)) -
                    needs[told][i];
                if (i == 0 || spare < least) {
                    least = spare;
                    fs = i;
                }
            }
        }
        choice.fileSystem = fs;
        choice.room = room.fileSystems.empty() ? 0 : room.fileSystems[fs].free.value_or(0);
        choice.needed = room.fileSystems.empty() ? 0 : needs[told][fs];
        choice.nextNeeded = above ? needs[*above][fs] : 0;
    } else {
        choice.room = *room.size;
        choice.needed = Sum(needs[told]);
        choice.nextNeeded = above ? Sum(needs[*above]) : 0;
    }
    return choice;
}

}  // namespace mirelune::cli

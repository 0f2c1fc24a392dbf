// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "cli/BitrateFit.h"
#include "cli/ReducePlan.h"

namespace mirelune::cli {

// A file system as statvfs and stat tell it, for the folder asked about.
struct FileSystemAnswer {
    unsigned long long device = 0;
    FitFileSystem room;
};
using FileSystemQuery = std::function<std::optional<FileSystemAnswer>(const QString& folder)>;

// The answer for the nearest existing folder at or above folder: free space
// f_bavail * f_frsize (nothing where the file system reports no size, as
// fusefat does), the allocation unit f_frsize (else st_blksize), and whether
// results are copied in (targets that cannot swap two names).
std::optional<FileSystemAnswer> QueryFileSystem(const QString& folder);

// Where a plan's results go, one entry per file system (by device), in the
// order the reductions first reach each.
class OutputRoom {
  public:
    explicit OutputRoom(const std::vector<PlannedReduction>& reductions,
                        const FileSystemQuery& query = &QueryFileSystem);

    const std::vector<FitFileSystem>& fileSystems() const { return fileSystems_; }
    // The first record root (the -o folder, or a source's folder) on each.
    const std::vector<QString>& shownFolders() const { return shownFolders_; }

    // The reductions as the fit counts them at kbps, each by the upper bound
    // of its prediction.
    std::vector<FitRow> rowsAt(const std::vector<PlannedReduction>& reductions, int kbps) const;

  private:
    struct RowRoom {
        std::size_t fileSystem;
        std::size_t folder;
        std::size_t recordRoot;
        std::uint64_t replaced;
        std::uint64_t recordBytes;
    };
    std::vector<FitFileSystem> fileSystems_;
    std::vector<QString> shownFolders_;
    std::vector<RowRoom> rowRooms_;  // one per reduction
};

}  // namespace mirelune::cli

// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/OutputRoom.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <map>

#include "cli/PredictedSizes.h"
#include "landing/TargetNames.h"
#include "shell/PathHelpers.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <sys/statvfs.h>
#endif

namespace mirelune::cli {
namespace {

// A journal line holds, besides the result's name and the source's path
// (each at most doubled by escapes), two sizes, two times, a hash and tabs:
// well under this. Each result gets two lines.
constexpr std::uint64_t kRecordLineOverhead = 200;
constexpr std::uint64_t kRecordLinesPerResult = 2;
// FAT's largest cluster.
constexpr std::uint64_t kLargestCluster = 64 * 1024;

std::uint64_t RecordBound(const PlannedReduction& r) {
    const auto names = static_cast<std::uint64_t>(QFile::encodeName(r.output).size() +
                                                  QFile::encodeName(r.source).size());
    return kRecordLinesPerResult * (2 * names + kRecordLineOverhead);
}

// The file a result replaces takes its room back once the result is in.
std::uint64_t ReplacedBytes(const PlannedReduction& r) {
    if (!r.replace) {
        return 0;
    }
    const QFileInfo there(r.output);
    return there.isFile() && !there.isSymLink() ? static_cast<std::uint64_t>(there.size()) : 0;
}

}  // namespace

std::optional<FileSystemAnswer> QueryFileSystem(const QString& folder) {
#ifdef Q_OS_UNIX
    const QString existing = QDir::cleanPath(ExistingFolder(folder));
    const QByteArray path = QFile::encodeName(existing);
    struct statvfs fs {};
    struct stat status {};
    if (::statvfs(path.constData(), &fs) != 0 || ::stat(path.constData(), &status) != 0) {
        return std::nullopt;
    }
    FileSystemAnswer answer;
    answer.device = static_cast<unsigned long long>(status.st_dev);
    // fusefat counts in 1 KiB blocks but gives files whole 2 KiB clusters,
    // which st_blksize tells; a larger st_blksize is only a preferred
    // transfer size (NFS: 1 MiB), no unit of allocation.
    const auto preferred = static_cast<std::uint64_t>(status.st_blksize);
    answer.room.unit =
        std::max<std::uint64_t>({fs.f_frsize, preferred <= kLargestCluster ? preferred : 1, 1});
    if (fs.f_blocks > 0) {
        answer.room.free = static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize;
    }
    answer.room.copiesIn = !TakesEveryName(existing);
    return answer;
#else
    Q_UNUSED(folder);
    return std::nullopt;
#endif
}

OutputRoom::OutputRoom(const std::vector<PlannedReduction>& reductions,
                       const FileSystemQuery& query) {
    std::map<unsigned long long, std::size_t> byDevice;
    std::map<QString, std::size_t> fileSystemOf;  // by folder asked
    std::map<QString, std::size_t> folders;
    std::map<QString, std::size_t> roots;
    for (const PlannedReduction& r : reductions) {
        const QString folder = FolderOf(r.output);
        auto known = fileSystemOf.find(folder);
        if (known == fileSystemOf.end()) {
            const std::optional<FileSystemAnswer> answer = query(folder);
            // A folder nothing can be learnt of stands alone, reporting no size.
            const unsigned long long device = answer ? answer->device : ~0ULL - fileSystemOf.size();
            auto [at, isNew] = byDevice.emplace(device, fileSystems_.size());
            if (isNew) {
                fileSystems_.push_back(answer ? answer->room : FitFileSystem{});
                shownFolders_.push_back(r.recordRoot.isEmpty() ? folder : r.recordRoot);
            }
            known = fileSystemOf.emplace(folder, at->second).first;
        }
        const std::size_t folderIndex = folders.emplace(folder, folders.size()).first->second;
        const std::size_t root = roots.emplace(r.recordRoot, roots.size()).first->second;
        rowRooms_.push_back({.fileSystem = known->second,
                             .folder = folderIndex,
                             .recordRoot = root,
                             .replaced = ReplacedBytes(r),
                             .recordBytes = RecordBound(r)});
    }
}

std::vector<FitRow> OutputRoom::rowsAt(const std::vector<PlannedReduction>& reductions,
                                       int kbps) const {
    std::vector<FitRow> rows;
    rows.reserve(reductions.size());
    for (std::size_t i = 0; i < reductions.size() && i < rowRooms_.size(); ++i) {
        const RowRoom& p = rowRooms_[i];
        const std::optional<encoder::SizePrediction> size = PredictedSize(reductions[i], kbps);
        rows.push_back({.fileSystem = p.fileSystem,
                        .folder = p.folder,
                        .recordRoot = p.recordRoot,
                        .bytes = size ? size->high : 0,
                        .replaced = p.replaced,
                        .recordBytes = p.recordBytes});
    }
    return rows;
}

}  // namespace mirelune::cli

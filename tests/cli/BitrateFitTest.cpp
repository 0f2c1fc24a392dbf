// SPDX-License-Identifier: GPL-3.0-or-later
// Which bitrate --fit chooses, from predicted rows and the room there is.
#include "cli/BitrateFit.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "cli/FitSize.h"

namespace mirelune::cli {
namespace {

constexpr std::uint64_t kKiB = 1024;

FitFileSystem Disk(std::uint64_t unit, bool copiesIn, std::optional<std::uint64_t> free = {}) {
    return {free, unit, copiesIn};
}

// One folder, one journal, unless a row says otherwise.
FitRow Row(std::uint64_t bytes, std::uint64_t recordBytes = 0, std::uint64_t replaced = 0,
           std::size_t fileSystem = 0, std::size_t folder = 0) {
    return {fileSystem, folder, folder, bytes, replaced, recordBytes};
}

TEST(BitrateFit, CountsWholeUnitsRecordsAndResultsInFlight) {
    const struct {
        const char* what;
        std::vector<FitFileSystem> fileSystems;
        std::vector<FitRow> rows;
        int jobs;
        std::vector<std::int64_t> needed;
    } cases[] = {
        // 12 + 8 KiB of results, 8 KiB for the record folder and run mark,
        // 4 KiB of journal, 4 KiB for the one held name of a swap.
        {"swapped in", {Disk(4096, false)}, {Row(10000, 300), Row(5000, 300)}, 1, {36864}},
        // Copied in, two at once: both results are there twice for a while.
        {"copied in, -j 2", {Disk(4096, true)}, {Row(10000, 300), Row(5000, 300)}, 2, {53248}},
        {"copied in, -j 8, two rows", {Disk(4096, true)}, {Row(10000), Row(5000)}, 8, {49152}},
        // One at a time: the largest is the one there twice.
        {"copied in, -j 1", {Disk(4096, true)}, {Row(5000), Row(10000)}, 1, {40960}},
        // A FAT stick's 32 KiB clusters: each 1,000-byte result takes one.
        {"32 KiB clusters",
         {Disk(32 * kKiB, true)},
         {Row(1000, 500), Row(1000, 500), Row(1000, 500)},
         1,
         {229376}},
        // What it replaces comes back, but only once the result is in.
        {"replacing a larger file", {Disk(4096, false)}, {Row(8192, 0, 12000)}, 1, {20480}},
        {"two file systems",
         {Disk(4096, false), Disk(32 * kKiB, true)},
         {Row(4096, 100, 0, 0, 0), Row(40000, 100, 0, 1, 1)},
         1,
         {20480, 229376}},
        // Results beside their originals: a journal and record folder each.
        {"two folders on one disk",
         {Disk(4096, false)},
         {Row(4096, 100, 0, 0, 0), Row(4096, 100, 0, 0, 1)},
         1,
         {36864}},
        {"nothing to make", {Disk(4096, true)}, {}, 4, {0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(BytesNeeded(c.rows, c.fileSystems, c.jobs), c.needed);
    }
}

TEST(BitrateFit, ChoosesTheHighestBitrateThatFits) {
    // With 1-byte units and swaps, each row needs its bytes, 2 for its
    // folder and 1 in flight.
    const std::vector<std::vector<FitRow>> oneDisk = {{Row(100)}, {Row(200)}, {Row(400)}};
    const std::vector<std::vector<FitRow>> twoDisks = {
        {Row(100, 0, 0, 0, 0), Row(50, 0, 0, 1, 1)},
        {Row(200, 0, 0, 0, 0), Row(100, 0, 0, 1, 1)},
        {Row(400, 0, 0, 0, 0), Row(200, 0, 0, 1, 1)},
    };
    // The first disk's results grow slowly with the bitrate, the second's fast.
    const std::vector<std::vector<FitRow>> slowAndFast = {
        {Row(100, 0, 0, 0, 0), Row(50, 0, 0, 1, 1)},
        {Row(120, 0, 0, 0, 0), Row(100, 0, 0, 1, 1)},
        {Row(140, 0, 0, 0, 0), Row(200, 0, 0, 1, 1)},
    };
    const struct {
        const char* what;
        std::vector<std::vector<FitRow>> rowsAt;
        FitRoom room;
        std::optional<std::size_t> chosen;
        std::optional<std::size_t> fileSystem;
        std::uint64_t room_;
        std::int64_t needed;
        std::int64_t nextNeeded;
    } cases[] = {
        {"size between two", oneDisk, {300, {Disk(1, false)}}, 1, {}, 300, 203, 403},
        {"size just enough", oneDisk, {203, {Disk(1, false)}}, 1, {}, 203, 203, 403},
        {"size one short", oneDisk, {202, {Disk(1, false)}}, 0, {}, 202, 103, 203},
        {"everything fits", oneDisk, {1000, {Disk(1, false)}}, 2, {}, 1000, 403, 0},
        {"nothing fits", oneDisk, {100, {Disk(1, false)}}, {}, {}, 100, 103, 0},
        // A size counts for every file system together.
        {"size over two disks",
         twoDisks,
         {310, {Disk(1, false), Disk(1, false)}},
         1,
         {},
         310,
         306,
         606},
        // Free space counts for each alone: the second runs out first.
        {"free space of two disks",
         twoDisks,
         {{}, {Disk(1, false, 500), Disk(1, false, 150)}},
         1,
         1,
         150,
         103,
         203},
        // Told for the disk the next bitrate overfills, not the one with the
        // least to spare.
        {"free space, the fast one limits",
         slowAndFast,
         {{}, {Disk(1, false, 143), Disk(1, false, 153)}},
         1,
         1,
         153,
         103,
         203},
        {"free space, all fit",
         twoDisks,
         {{}, {Disk(1, false, 1000), Disk(1, false, 210)}},
         2,
         1,
         210,
         203,
         0},
        {"free space, none fits",
         twoDisks,
         {{}, {Disk(1, false, 90), Disk(1, false, 1000)}},
         {},
         0,
         90,
         103,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const FitChoice choice = ChooseBitrate(c.rowsAt, c.room, 1);
        EXPECT_EQ(choice.chosen, c.chosen);
        EXPECT_EQ(choice.fileSystem, c.fileSystem);
        EXPECT_EQ(choice.room, c.room_);
        EXPECT_EQ(choice.needed, c.needed);
        EXPECT_EQ(choice.nextNeeded, c.nextNeeded);
    }
}

TEST(FitSize, ReadsSizesInTheUnitsPeopleWrite) {
    const struct {
        const char* text;
        std::optional<std::uint64_t> bytes;  // nothing: refused
        bool free;
    } cases[] = {
        {"12345", 12345, false},
        {"12345B", 12345, false},
        {"0", 0, false},
        {"1.5K", 1536, false},
        {"1.1k", 1126, false},
        {"900M", 943718400, false},
        {"900mib", 943718400, false},
        {"16G", 17179869184, false},
        {"16GiB", 17179869184, false},
        {"16 G", 17179869184, false},
        {"2T", 2199023255552, false},
        // As a stick's label counts: 16 GB is 16,000,000,000 bytes.
        {"16GB", 16000000000, false},
        {"16gb", 16000000000, false},
        {"500KB", 500000, false},
        {"free", 0, true},
        {"FREE", 0, true},
        {"", std::nullopt, false},
        {"G", std::nullopt, false},
        {"-5M", std::nullopt, false},
        {"16X", std::nullopt, false},
        {"1e9", std::nullopt, false},
        {"1.5.3G", std::nullopt, false},
        {"16iB", std::nullopt, false},
        {"9999999999T", std::nullopt, false},
        {"9223372036854775808", std::nullopt, false},
        {"9223372036854775807", 9223372036854775807ULL, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<FitTarget> target = ParseFitTarget(QString::fromUtf8(c.text));
        ASSERT_EQ(target.has_value(), c.bytes.has_value() || c.free);
        if (target) {
            EXPECT_EQ(target->free, c.free);
            EXPECT_EQ(target->size, c.free ? 0 : *c.bytes);
        }
    }
}

}  // namespace
}  // namespace mirelune::cli

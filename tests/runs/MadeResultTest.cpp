// SPDX-License-Identifier: GPL-3.0-or-later
#include "runs/MadeResult.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <functional>

#include "support/ReduceTestSupport.h"

namespace mirelune {
namespace {

using test::Q;

// SHA-256 of "a result".
const QByteArray kHash = "8ef99d17b420fd37a306ac016be950cab3836d24f801fb29c09b29d6538e9146";
constexpr qint64 kMadeTime = 1700000000000;
constexpr qint64 kWantedTime = 1710000000000;

qint64 ModifiedMs(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0
               ? status.st_mtim.tv_sec * 1000 + status.st_mtim.tv_nsec / 1000000
               : -1;
}

// Once the result is at its name, its time is set again (some drivers give
// a file another time when it is closed) only on what the run made, known
// by its size and content (where a driver gives one file other inode
// numbers over time, or a new file gets a removed one's): never through a
// link put there since, and never on another file.
TEST(MadeResult, ATimeIsSetAgainOnlyOnTheFileTheRunMade) {
    const struct {
        const char* name;
        // What happens to the name after the result took it.
        std::function<void(const QString& path, const QString& elsewhere)> meanwhile;
        bool made;
    } cases[] = {
        {"still there", [](const QString&, const QString&) {}, true},
        {"the same content under another inode",
         [](const QString& path, const QString&) {
             QFile::remove(path);
             test::WriteBytes(path, "a result");
         },
         true},
        {"other content of the same size",
         [](const QString& path, const QString&) {
             QFile::remove(path);
             test::WriteBytes(path, "a resulT");
         },
         false},
        {"a link to a file with the same content",
         [](const QString& path, const QString& elsewhere) {
             QFile::remove(path);
             ASSERT_TRUE(QFile::link(elsewhere, path));
         },
         false},
        {"gone", [](const QString& path, const QString&) { QFile::remove(path); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const test::ScratchDir dir;
        const QString path = Q(dir.file("song.mp3"));
        const QString elsewhere = Q(dir.file("elsewhere"));
        test::WriteBytes(elsewhere, "a result");
        ASSERT_TRUE(SetModifiedTime(elsewhere, kMadeTime));
        test::WriteBytes(path, "a result");
        const MadeResult made{{8, kMadeTime}, kHash};
        c.meanwhile(path, elsewhere);
        ASSERT_TRUE(QFile::exists(path) || !c.made);
        if (QFileInfo(path).isFile() && !QFileInfo(path).isSymLink()) {
            ASSERT_TRUE(SetModifiedTime(path, kMadeTime));
        }
        const std::optional<FileStamp> stamp = SetTimesIfMade(path, made, kWantedTime);
        ASSERT_EQ(stamp.has_value(), c.made);
        if (c.made) {
            EXPECT_EQ(stamp->size, 8);
            EXPECT_EQ(stamp->modifiedMs, kWantedTime);
            EXPECT_EQ(ModifiedMs(path), kWantedTime);
        } else if (QFile::exists(path)) {
            EXPECT_EQ(ModifiedMs(path), kMadeTime);
        }
        EXPECT_EQ(ModifiedMs(elsewhere), kMadeTime);
    }
}

TEST(MadeResult, AContentHashReadsExactlyTheSizeItIsGiven) {
    const test::ScratchDir dir;
    const QString path = Q(dir.file("song.mp3"));
    test::WriteBytes(path, "a result");
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(ContentHash(fd, 8), std::optional<QByteArray>(kHash));
    EXPECT_EQ(ContentHash(fd, 7), std::nullopt);  // the file is longer
    EXPECT_EQ(ContentHash(fd, 9), std::nullopt);  // the file is shorter
    ::close(fd);
}

}  // namespace
}  // namespace mirelune

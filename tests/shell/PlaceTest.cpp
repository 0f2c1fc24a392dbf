// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Place.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace mirelune {
namespace {

// A folder "music" with "song.mp3", a hard link "hard.mp3" and a symbolic
// link "linked.mp3" to it, and "other.mp3"; "link" leads to "music".
class PlaceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        ASSERT_TRUE(QDir(temp.path()).mkdir(QStringLiteral("music")));
        for (const char* name : {"music/song.mp3", "music/other.mp3"}) {
            QFile file(at(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        ASSERT_EQ(::link(QFile::encodeName(at("music/song.mp3")).constData(),
                         QFile::encodeName(at("music/hard.mp3")).constData()),
                  0);
        ASSERT_TRUE(QFile::link(at("music/song.mp3"), at("music/linked.mp3")));
        ASSERT_TRUE(QFile::link(at("music"), at("link")));
        real = QFileInfo(temp.path()).canonicalFilePath();
        ASSERT_FALSE(real.isEmpty());
    }

    // The path as spelled below the scratch folder, links left in.
    QString at(const char* relative) const {
        return temp.path() + QLatin1Char('/') + QString::fromUtf8(relative);
    }

    // The same below the scratch folder's real path.
    QString realAt(const char* relative) const {
        return real + QLatin1Char('/') + QString::fromUtf8(relative);
    }

    // "device:inode" of what path leads to, as the system tells it.
    static QString DeviceAndInode(const QString& path) {
        struct stat status {};
        EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0);
        return QString::number(static_cast<qulonglong>(status.st_dev)) + QLatin1Char(':') +
               QString::number(static_cast<qulonglong>(status.st_ino));
    }

    QTemporaryDir temp;
    QString real;
};

// The place is the folder's real path and the name as spelled: a link to the
// folder is followed, a link in the name's place is not.
TEST_F(PlaceTest, TextIsTheRealFolderAndTheName) {
    const struct {
        const char* path;
        const char* text;
    } cases[] = {
        {"music/song.mp3", "music/song.mp3"},    {"link/song.mp3", "music/song.mp3"},
        {"music//./song.mp3", "music/song.mp3"}, {"music/linked.mp3", "music/linked.mp3"},
        {"music/hard.mp3", "music/hard.mp3"},    {"link/gone.mp3", "music/gone.mp3"},
        {"music/Song.MP3", "music/Song.MP3"},    {"missing/../music/gone.mp3", "music/gone.mp3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Place(at(c.path)).text(), realAt(c.text)) << c.path;
    }
    // A folder that is not there is only cleaned: links before it stay.
    EXPECT_EQ(Place(at("link/missing//x.mp3")).text(), at("link/missing/x.mp3"));
}

// One existing file under every spelling, hard links included; a path that
// names nothing is itself, made absolute with links left in.
TEST_F(PlaceTest, FileKeyIsTheFileOrElseTheAbsolutePath) {
    const QString song = DeviceAndInode(at("music/song.mp3"));
    const QString other = DeviceAndInode(at("music/other.mp3"));
    ASSERT_NE(song, other);
    const struct {
        const char* path;
        QString key;
    } cases[] = {
        {"music/song.mp3", song},
        {"music/hard.mp3", song},
        {"music/linked.mp3", song},
        {"link/song.mp3", song},
        {"music/other.mp3", other},
        {"link//./gone.mp3", at("link/gone.mp3")},
        {"missing/../link/gone.mp3", at("link/gone.mp3")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Place(at(c.path)).fileKey(), c.key) << c.path;
    }
}

TEST_F(PlaceTest, ComparesFilesAndFoldedPlaces) {
    const struct {
        const char* a;
        const char* b;
        bool sameFile;
        bool sameFoldedPlace;
    } cases[] = {
        {"music/song.mp3", "music/song.mp3", true, true},
        {"music/song.mp3", "music/hard.mp3", true, false},
        {"music/song.mp3", "music/linked.mp3", true, false},
        {"music/song.mp3", "link/song.mp3", true, true},
        {"music/song.mp3", "music/other.mp3", false, false},
        {"music/song.mp3", "link/SONG.Mp3", false, true},
        {"music/gone.mp3", "music/gone.mp3", true, true},
        {"music/gone.mp3", "link/gone.mp3", false, true},
        {"missing/x.mp3", "missing/X.MP3", false, true},
        {"missing/x.mp3", "link/missing/x.mp3", false, false},
    };
    for (const auto& c : cases) {
        const Place a(at(c.a));
        const Place b(at(c.b));
        EXPECT_EQ(a.isSameFile(b), c.sameFile) << c.a << " " << c.b;
        EXPECT_EQ(b.isSameFile(a), c.sameFile) << c.b << " " << c.a;
        EXPECT_EQ(a.isSameFoldedPlace(b), c.sameFoldedPlace) << c.a << " " << c.b;
    }
    EXPECT_EQ(Place(at("link/SONG.Mp3")).foldedText(), realAt("music/song.mp3").toCaseFolded());
}

// Every folder of one device is one target; one that is not there is its
// path cleaned, relative or not.
TEST_F(PlaceTest, TargetIsTheDeviceOrElseTheCleanedPath) {
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(at("music")).constData(), &status), 0);
    const QString device = QString::number(static_cast<qulonglong>(status.st_dev));
    EXPECT_EQ(Place(at("music")).targetKey(), device);
    EXPECT_EQ(Place(at("link/")).targetKey(), device);
    EXPECT_EQ(Place(at("missing//a/..")).targetKey(), at("missing"));
    EXPECT_EQ(Place(QStringLiteral("no/such//folder/")).targetKey(),
              QStringLiteral("no/such/folder"));
}

TEST_F(PlaceTest, AbsolutePathKeepsLinks) {
    EXPECT_EQ(Place(at("link/")).absolutePath(), at("link"));
    EXPECT_EQ(Place(at("link/./x/..//song.mp3")).absolutePath(), at("link/song.mp3"));
    EXPECT_EQ(Place(QStringLiteral(".")).absolutePath(), QDir::currentPath());
    EXPECT_EQ(Place(QStringLiteral("a//b/..")).absolutePath(),
              QDir::currentPath() + QStringLiteral("/a"));
}

}  // namespace
}  // namespace mirelune

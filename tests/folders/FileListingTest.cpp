// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFile>
#include <QStringList>
#include <cstring>
#include <filesystem>

#include "folders/FileListing.h"
#include "shell/NameText.h"
#include "support/FolderTree.h"

namespace mirelune {
namespace {

using test::Native;
using test::Tree;

QStringList Sorted(QStringList names) {
    names.sort();
    return names;
}

class FileListingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"song.mp3", "LOUD.MP3", ".hidden.mp3", "notes.txt", "README",
                                 "a..mp3", "x.mp3.bak"}) {
            tree.other(QString::fromUtf8(name));
        }
        // A folder is never a file, whatever its name.
        tree.mp3("album.mp3/inside.mp3");
    }

    Tree tree;
};

struct ListingCase {
    const char* pattern;
    QStringList expected;
};

TEST_F(FileListingTest, PatternTable) {
    const ListingCase cases[] = {
        {"*.*",
         {".hidden.mp3", "LOUD.MP3", "README", "a..mp3", "notes.txt", "song.mp3", "x.mp3.bak"}},
        {"*.mp3", {".hidden.mp3", "LOUD.MP3", "a..mp3", "song.mp3"}},
        {"*.MP3", {".hidden.mp3", "LOUD.MP3", "a..mp3", "song.mp3"}},
        {"*..mp3", {"a..mp3"}},
        {"*.txt", {"notes.txt"}},
        {"????.mp3", {"LOUD.MP3", "song.mp3"}},
        {"*.wav", {}},
    };
    for (const ListingCase& c : cases) {
        EXPECT_EQ(Sorted(ListFolderFiles(tree.root(), QString::fromUtf8(c.pattern))), c.expected)
            << c.pattern;
    }
}

TEST_F(FileListingTest, NamesComeInNaturalOrderAndAFolderIsTakenWithItsSeparator) {
    for (const char* name : {"Track 10.mp3", "track 9.mp3", "Track 1.mp3"}) {
        tree.other(QString::fromUtf8(name));
    }
    const QStringList natural{".hidden.mp3",  "a..mp3",   "LOUD.MP3",    "notes.txt",
                              "README",       "song.mp3", "Track 1.mp3", "track 9.mp3",
                              "Track 10.mp3", "x.mp3.bak"};
    EXPECT_EQ(ListFolderFiles(tree.root(), "*.*"), natural);
    EXPECT_EQ(ListFolderFiles(tree.root() + "/", "*.*"), natural);
}

TEST_F(FileListingTest, MissingFolderHasNoFiles) {
    EXPECT_TRUE(ListFolderFiles(tree.path("no such folder"), "*.*").isEmpty());
    EXPECT_TRUE(ListFolderFiles(tree.path("song.mp3"), "*.*").isEmpty());
}

TEST_F(FileListingTest, AMatchingNameNotValidInTheFileNameEncodingIsToldNotListed) {
    const std::string root = tree.root().toStdString();
    std::ofstream(root + "/bad\xFF.mp3") << "x";
    std::ofstream(root + "/other\xFE.txt") << "x";
    std::filesystem::create_directory(root + "/folder\xFD.mp3");
    ASSERT_EQ(::mkfifo((root + "/pipe\xFC.mp3").c_str(), 0644), 0);
    QStringList leftOut;
    const QStringList names = ListFolderFiles(
        tree.root(), "*.mp3",
        [&](const QString& path, const QString& reason) { leftOut.append(path + " | " + reason); });

    EXPECT_EQ(names, (QStringList{".hidden.mp3", "a..mp3", "LOUD.MP3", "song.mp3"}));
    EXPECT_EQ(leftOut, QStringList{tree.path(EscapedNativeName("bad\xFF.mp3")) +
                                   " | name is not valid UTF-8"});
    // The decoded text names another file, so it is no way to this one.
    EXPECT_FALSE(
        FileIsOpenable(QFile::decodeName(QByteArray::fromStdString(root + "/bad\xFF.mp3"))));
}

// Special files sit beside ordinary ones; none of them is opened.
class FileIsOpenableTest : public ::testing::Test {
  protected:
    void SetUp() override {
        regular = tree.other("regular.mp3");
        empty = tree.file("empty.mp3", {});
        folder = tree.folder("folder.mp3");
        fifo = tree.path("pipe.mp3");
        ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
        socketPath = tree.path("socket.mp3");
        socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_GE(socketFd, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray native = QFile::encodeName(socketPath);
        ASSERT_LT(static_cast<std::size_t>(native.size()), sizeof(address.sun_path));
        std::memcpy(address.sun_path, native.constData(), static_cast<std::size_t>(native.size()));
        ASSERT_EQ(::bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    }
    void TearDown() override {
        if (socketFd >= 0) {
            ::close(socketFd);
        }
    }

    Tree tree;
    QString regular, empty, folder, fifo, socketPath;
    int socketFd = -1;
};

TEST_F(FileIsOpenableTest, OnlyRegularFilesAndLinksToThem) {
    const struct {
        QString path;
        bool openable;
    } cases[] = {
        {regular, true},
        {empty, true},
        {tree.link("link.mp3", "regular.mp3"), true},
        {folder, false},
        {tree.link("folder-link.mp3", "folder.mp3"), false},
        {tree.link("broken.mp3", "nowhere.mp3"), false},
        {fifo, false},
        {socketPath, false},
        {tree.link("device.mp3", "/dev/null"), false},
        {tree.path("missing.mp3"), false},
        {regular + "/", false},
        {QString(), false},
        // The system would see only the text before the NUL: a real file.
        {regular + QChar(0) + "junk", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileIsOpenable(c.path), c.openable) << c.path.toStdString();
    }
}

TEST_F(FileIsOpenableTest, SpecialFilesAreNotListed) {
    tree.link("link.mp3", "regular.mp3");
    tree.link("device.mp3", "/dev/null");
    EXPECT_EQ(Sorted(ListFolderFiles(tree.root(), "*.mp3")),
              (QStringList{"empty.mp3", "link.mp3", "regular.mp3"}));
}

}  // namespace
}  // namespace mirelune

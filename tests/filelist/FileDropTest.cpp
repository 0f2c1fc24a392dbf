// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <functional>
#include <stdexcept>
#include <vector>

#include "filelist/CandidateLog.h"
#include "filelist/FileDrop.h"
#include "filelist/RefusedFiles.h"
#include "folders/LeftOutNames.h"
#include "shell/ErrorLocations.h"
#include "shell/ErrorReport.h"
#include "shell/NameText.h"
#include "support/FakeWindowLayer.h"
#include "support/FolderTree.h"

namespace mirelune {
namespace {

using test::Tree;

std::unique_ptr<QMimeData> Urls(const QList<QUrl>& urls) {
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    return data;
}

TEST(CarriesLocalFiles, OnlyLocalFilesAreTaken) {
    const QUrl local = QUrl::fromLocalFile("/music/song.mp3");
    const QUrl web("https://example.org/song.mp3");
    auto text = std::make_unique<QMimeData>();
    text->setText("/music/song.mp3");
    auto html = std::make_unique<QMimeData>();
    html->setHtml("<a href=\"file:///music/song.mp3\">song</a>");

    EXPECT_FALSE(CarriesLocalFiles(*text));
    EXPECT_FALSE(CarriesLocalFiles(*html));
    EXPECT_FALSE(CarriesLocalFiles(QMimeData()));
    EXPECT_FALSE(CarriesLocalFiles(*Urls({web})));
    EXPECT_TRUE(CarriesLocalFiles(*Urls({local})));
    EXPECT_TRUE(CarriesLocalFiles(*Urls({web, local})));
}

TEST(DroppedLocalPaths, KeepsTheOrderAndLeavesOutOtherAddressesAndTellsUnnamablePaths) {
    const auto data = Urls({QUrl::fromLocalFile("/b/second.mp3"), QUrl("https://example.org/x"),
                            QUrl::fromLocalFile("/a/first folder"),
                            QUrl::fromEncoded("file:///d/caf%E9%20au%20lait.mp3"),
                            QUrl::fromLocalFile(QString::fromUtf8("/c/caf\xC3\xA9.mp3"))});
    RefusedFiles unnamable;
    EXPECT_EQ(
        DroppedLocalPaths(*data, unnamable),
        (QStringList{"/b/second.mp3", "/a/first folder", QString::fromUtf8("/c/caf\xC3\xA9.mp3")}));
    ASSERT_EQ(unnamable.entries().size(), 1);
    EXPECT_EQ(unnamable.entries()[0].path, EscapedNativeName("/d/caf\xE9 au lait.mp3"));
    EXPECT_EQ(unnamable.entries()[0].reason, "name is not valid UTF-8");
}

class FileDropTest : public ::testing::Test {
  protected:
    FileDropTest() : log(window) {}

    // As the list takes a drop: every path, then one summary box.
    void Drop(const QStringList& paths) {
        AddDroppedPaths(paths, window, log.callback(), RefusedFiles());
    }

    Tree tree;
    test::FakeWindowLayer window;
    test::CandidateLog log;
};

TEST_F(FileDropTest, AFileThenAFolder) {
    const QString single = tree.mp3("single.mp3");
    tree.mp3("album/one.mp3");
    tree.mp3("album/disc 2/two.mp3");
    Drop({single, tree.path("album")});

    EXPECT_EQ(log.rows,
              (QStringList{single, tree.path("album/one.mp3"), tree.path("album/disc 2/two.mp3")}));
    EXPECT_EQ(log.firstSteps, (std::vector<int>{106, 134, 134}));
}

TEST_F(FileDropTest, TwoFoldersEachOnceInTheirOrder) {
    tree.mp3("B/b.mp3");
    tree.mp3("B/inner/bb.mp3");
    tree.mp3("A/a.mp3");
    Drop({tree.path("B"), tree.path("A")});

    EXPECT_EQ(log.rows, (QStringList{tree.path("B/b.mp3"), tree.path("B/inner/bb.mp3"),
                                     tree.path("A/a.mp3")}));
}

TEST_F(FileDropTest, AFolderWithACoverPictureGivesTwoRowsAndOneBoxNamingIt) {
    tree.mp3("album/one.mp3");
    tree.mp3("album/two.mp3");
    const QString cover = tree.other("album/cover.jpg");
    Drop({tree.path("album")});

    EXPECT_EQ(log.rows.size(), 2);
    EXPECT_EQ(window.boxes(), (std::vector<test::Box>{{window.applicationTitle(),
                                                       "Not a valid MP3 file\r\n" + cover,
                                                       MessageButtons::Ok, MessageIcon::None}}));
}

TEST_F(FileDropTest, OneBoxNamesEveryRefusedFileAndMalformedOnesGetNoErrorReport) {
    const struct {
        const char* reason;
        std::function<test::Bytes()> make;
    } malformed[] = {
        {"division by zero",
         [] {
             test::Bytes b = test::ValidMp3Bytes();
             test::PutXing(b, 36, "Xing", 1, 0, 0);
             return b;
         }},
        {"out of range",
         [] {
             return test::Frames({0xFF, 0xF3, 0x10, 0x00}, 26, 3);
         }},
        {"overflow",
         [] {
             test::Bytes b = test::ValidMp3Bytes();
             test::PutVbri(b, 0x80000000u, 10);
             return b;
         }},
    };
    // In the order met, which is the folder's natural order.
    QStringList expected;
    for (int k = 0; k < 3; ++k) {
        expected.append(tree.file(QStringLiteral("album/bad %1.mp3").arg(k), malformed[k].make()) +
                        " (" + malformed[k].reason + ")");
    }
    for (int i = 1; i <= 30; ++i) {
        expected.append(tree.other(QStringLiteral("album/note %1.txt").arg(i)));
    }
    tree.mp3("album/song.mp3");
    Drop({tree.path("album")});

    EXPECT_EQ(log.rows, (QStringList{tree.path("album/song.mp3")}));
    ASSERT_EQ(window.boxes().size(), 1u);
    const test::Box& box = window.boxes()[0];
    EXPECT_EQ(box.title, window.applicationTitle());
    EXPECT_EQ(box.icon, MessageIcon::None);
    // The first 20 in the order met, then a count of the rest.
    EXPECT_EQ(box.text, "33 files are not valid MP3 files:\r\n" + expected.mid(0, 20).join("\r\n") +
                            "\r\nand 13 more");
}

TEST_F(FileDropTest, ATildeFileIsSkippedInAFolderButTakenWhenDroppedItself) {
    const QString tilde = tree.mp3("album/~take.mp3");
    tree.mp3("album/keep.mp3");
    Drop({tree.path("album")});
    EXPECT_EQ(log.rows, (QStringList{tree.path("album/keep.mp3")}));

    Drop({tilde});
    EXPECT_EQ(log.rows, (QStringList{tree.path("album/keep.mp3"), tilde}));
}

TEST_F(FileDropTest, AFileIsTakenWhateverItsExtension) {
    const QString odd = tree.mp3("recording.bin");
    Drop({odd});
    EXPECT_EQ(log.rows, (QStringList{odd}));
}

TEST_F(FileDropTest, APathThatHasGoneIsSkippedWithoutAWord) {
    const QString kept = tree.mp3("kept.mp3");
    Drop({tree.path("gone.mp3"), tree.path("gone folder"), tree.link("dangling", "nowhere"), kept});

    EXPECT_EQ(log.offered, (QStringList{kept}));
    EXPECT_TRUE(window.boxes().empty());
}

TEST_F(FileDropTest, ADroppedFifoIsRefusedWithoutWaiting) {
    const QString fifo = tree.path("pipe.mp3");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    Drop({fifo});

    EXPECT_TRUE(log.rows.isEmpty());
    ASSERT_EQ(window.boxes().size(), 1u);
    EXPECT_EQ(window.boxes()[0].text, "Not a valid MP3 file\r\n" + fifo);
}

TEST_F(FileDropTest, AFolderEndingInItsSeparatorWalksLikeAnyFolder) {
    tree.mp3("album/one.mp3");
    tree.mp3("album/sub/two.mp3");
    Drop({tree.path("album") + "/"});

    EXPECT_EQ(log.rows, (QStringList{tree.path("album/one.mp3"), tree.path("album/sub/two.mp3")}));
}

TEST_F(FileDropTest, AFailureIsReportedAsTheDropsAndTheNextPathIsHandled) {
    const QString first = tree.mp3("first.mp3");
    const QString second = tree.mp3("second.mp3");
    int offers = 0;
    AddDroppedPaths(
        {first, second}, window,
        [&](const QString& path, ErrorGuard& guard, int firstStep, RefusedFiles& refused) {
            if (++offers == 1) {
                throw std::runtime_error("cannot read");
            }
            log.callback()(path, guard, firstStep, refused);
        },
        RefusedFiles());

    ASSERT_EQ(window.boxes().size(), 1u);
    EXPECT_EQ(window.boxes()[0].text,
              ErrorReportText("cannot read", location::FormHandler("ListView1_OLEDragDrop"), 106));
    EXPECT_EQ(log.rows, (QStringList{second}));
}

TEST_F(FileDropTest, CollectingGivesWhatADropWouldOfferAndWhatItLeftOut) {
    const QString single = tree.other("notes.txt");
    tree.mp3("album/one.mp3");
    tree.other("album/cover.jpg");
    tree.mp3("album/~skip.mp3");
    tree.mp3("album/sub/two.mp3");
    tree.mp3("album/Who Are You?/three.mp3");
    tree.mp3("album/tab\there/four.mp3");
    const QStringList paths{single, tree.path("gone"), tree.path("album")};
    Drop(paths);

    RefusedFiles leftOut;
    EXPECT_EQ(CollectDroppedFiles(paths, window, leftOut), log.offered);
    EXPECT_EQ(log.offered.size(), 5);
    ASSERT_EQ(leftOut.entries().size(), 1);
    EXPECT_EQ(leftOut.entries()[0].path, tree.path("album/tab\there"));
    EXPECT_EQ(leftOut.entries()[0].reason, QString::fromUtf8(left_out::kUnsafeFolderName));
}

}  // namespace
}  // namespace mirelune

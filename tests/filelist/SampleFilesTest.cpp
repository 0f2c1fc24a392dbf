// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>
#include <QUrl>
#include <stdexcept>
#include <vector>

#include "filelist/RefusedFiles.h"
#include "filelist/SampleFiles.h"
#include "filelist/SampleRows.h"
#include "folders/FileListing.h"
#include "mp3/MP3Info.h"
#include "shell/ErrorLocations.h"
#include "shell/ErrorReport.h"
#include "support/FakeWindowLayer.h"
#include "support/FolderTree.h"

namespace mirelune {
namespace {

using test::Bytes;
using test::Tree;

// The file list as a plain table that remembers what was done to it.
class RowTable : public SampleRows {
  public:
    struct Row {
        QString path;
        QString bitrate;
    };

    int rowCount() const override { return static_cast<int>(rows.size()); }
    QString rowPath(int row) const override {
        return rows.at(static_cast<std::size_t>(row - 1)).path;
    }
    void appendPath(const QString& path) override {
        if (failAppend) {
            throw std::runtime_error("list is full");
        }
        rows.push_back({path, QString()});
    }
    void setBitrateText(int row, const QString& text) override {
        rows.at(static_cast<std::size_t>(row - 1)).bitrate = text;
    }
    void removeRow(int row) override {
        removed.push_back(row);
        rows.erase(rows.begin() + (row - 1));
    }

    QStringList paths() const {
        QStringList all;
        for (const Row& row : rows) {
            all.append(row.path);
        }
        return all;
    }

    std::vector<Row> rows;
    std::vector<int> removed;
    bool failAppend = false;
};

const QString kQuestion = QStringLiteral(
    "Would you like this software to open the folder where these sample files are stored (so "
    "that you can view them before working with them)?");

class SampleFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.mp3("app/Samples/first.mp3");
        tree.mp3("app/Samples/second.mp3");
        tree.other("app/Samples/readme.txt");
    }
    void Click() { LoadSampleFilesAndRereadRows(table, window, info, tree.path("app")); }
    QStringList SamplePaths() const {
        QStringList paths;
        for (const QString& name : ListFolderFiles(tree.path("app/Samples"), "*.*")) {
            paths.append(tree.path("app/Samples/" + name));
        }
        return paths;
    }
    std::vector<test::Box> Boxes() const { return window.boxes(); }

    Tree tree;
    test::FakeWindowLayer window;
    RowTable table;
    mp3::MP3Info info;
};

TEST_F(SampleFilesTest, AddsTheSamplesAsksAboutTheFolderAndRereadsEveryRow) {
    const QString earlierValid = tree.mp3("earlier.mp3");
    const QString earlierGone = tree.path("gone.mp3");
    table.rows = {{earlierValid, "999 kbps"}, {earlierGone, "128 kbps"}};
    Click();

    QStringList expected{earlierValid};
    for (const QString& path : SamplePaths()) {
        if (!path.endsWith(".txt")) {
            expected.append(path);
        }
    }
    EXPECT_EQ(table.paths(), expected);
    for (const RowTable::Row& row : table.rows) {
        EXPECT_EQ(row.bitrate, "128 kbps") << row.path.toStdString();
    }

    // The question comes first, then one box naming the removed rows in
    // list order, each with its reason.
    const QString readme = tree.path("app/Samples/readme.txt");
    EXPECT_EQ(Boxes(),
              (std::vector<test::Box>{
                  {window.applicationTitle(), kQuestion, MessageButtons::YesNo, MessageIcon::None},
                  {window.applicationTitle(),
                   "2 files were left out:\r\n" + earlierGone + " (no longer exists)\r\n" + readme +
                       " (not a valid MP3 file)",
                   MessageButtons::Ok, MessageIcon::None}}));
    EXPECT_TRUE(std::is_sorted(table.removed.rbegin(), table.removed.rend()));
}

TEST_F(SampleFilesTest, ASecondPressAddsNoDuplicatesAndAsksAgain) {
    std::filesystem::remove(test::Native(tree.path("app/Samples/readme.txt")));
    Click();
    const QStringList afterFirst = table.paths();
    Click();

    EXPECT_EQ(afterFirst.size(), 2);
    EXPECT_EQ(table.paths(), afterFirst);
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].text, kQuestion);
}

TEST_F(SampleFilesTest, RowsAreReadFromTheLastToTheFirstAndNamedInListOrder) {
    const QString a = tree.other("a.mp3");
    const QString b = tree.mp3("b.mp3");
    const QString c = tree.other("c.mp3");
    const QString d = tree.path("d.mp3");
    std::filesystem::create_directories(test::Native(d));
    table.rows = {{a, ""}, {b, ""}, {c, ""}, {d, ""}};
    LoadSampleFilesAndRereadRows(table, window, info, tree.path("no app here"));

    EXPECT_EQ(table.paths(), (QStringList{b}));
    EXPECT_EQ(table.removed, (std::vector<int>{4, 3, 1}));
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].text, "3 files were left out:\r\n" + a + " (not a valid MP3 file)\r\n" +
                                   c + " (not a valid MP3 file)\r\n" + d + " (folder skipped)");
}

TEST_F(SampleFilesTest, AMalformedRowAndAnUnnamableSampleAreNamedWithTheirReasonsUnreported) {
    Bytes malformed = test::ValidMp3Bytes();
    test::PutXing(malformed, 36, "Xing", 1, 0, 0);
    const QString bad = tree.file("bad.mp3", malformed);
    std::filesystem::remove(test::Native(tree.path("app/Samples/readme.txt")));
    std::ofstream(test::Native(tree.path("app/Samples")) / "caf\xE9.mp3") << "x";
    table.rows = {{bad, ""}};
    Click();

    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].text, "2 files were left out:\r\n\"" +
                                   tree.path("app/Samples/caf\\xE9.mp3") +
                                   "\" (name is not valid UTF-8)\r\n" + bad +
                                   " (not a valid MP3 file: division by zero)");
    EXPECT_EQ(table.paths(), (QStringList{tree.path("app/Samples/first.mp3"),
                                          tree.path("app/Samples/second.mp3")}));
}

TEST_F(SampleFilesTest, AMissingSampleFolderAddsNothingButStillAsks) {
    RefusedFiles refused;
    LoadSampleFiles(table, window, tree.path("elsewhere"), refused);

    EXPECT_TRUE(table.rows.empty());
    EXPECT_TRUE(refused.isEmpty());
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, kQuestion);
}

TEST_F(SampleFilesTest, YesOpensTheSampleFolderOrSaysWhichFolderCouldNotBeOpened) {
    for (const bool opens : {true, false}) {
        SCOPED_TRACE(opens);
        window.clearRecord();
        window.setOpenUrlAnswer(opens);
        window.queueAnswer(MessageAnswer::Yes);
        RefusedFiles refused;
        LoadSampleFiles(table, window, tree.path("app"), refused);

        ASSERT_EQ(window.interactions().size(), opens ? 2u : 3u);
        EXPECT_EQ(window.interactions()[1].kind, test::Interaction::Kind::OpenUrl);
        EXPECT_EQ(window.interactions()[1].url, QUrl::fromLocalFile(tree.path("app/Samples/")));
        if (!opens) {
            EXPECT_EQ(Boxes().back().text,
                      "The folder could not be opened:\r\n" + tree.path("app/Samples"));
        }
    }
}

TEST_F(SampleFilesTest, PathIsListedComparesWholePathsExactly) {
    table.rows = {{"/music/Song.mp3", ""}, {"/music/other.mp3", ""}};
    EXPECT_TRUE(PathIsListed(table, "/music/other.mp3"));
    EXPECT_FALSE(PathIsListed(table, "/music/song.mp3"));
    EXPECT_FALSE(PathIsListed(table, "/music/Song.mp"));
    EXPECT_FALSE(PathIsListed(RowTable(), "/music/Song.mp3"));
}

TEST_F(SampleFilesTest, AFailureWhileLoadingIsReportedAndTheRowsAreStillRead) {
    const QString gone = tree.path("gone.mp3");
    table.rows = {{gone, ""}};
    table.failAppend = true;
    Click();

    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[0].text,
              ErrorReportText("list is full", QString::fromUtf8(location::kPushButton5Click), 100));
    EXPECT_EQ(Boxes()[1].text, "File left out\r\n" + gone + " (no longer exists)");
    EXPECT_TRUE(table.rows.empty());
}

// The folder our own build puts beside the program.
TEST(BuiltSamples, FiveFilesOfTheAdvertisedShapesUnderOneMegabyte) {
    const QString folder = QString::fromUtf8(MIRELUNE_SAMPLES_DIR);
    const struct {
        const char* name;
        int kbps;
        bool vbr;
        int channels;
        float version;
    } expected[] = {
        {"320 kbps stereo.mp3", 320, false, 2, 1.0f},
        {"192 kbps joint stereo with cover.mp3", 192, false, 2, 1.0f},
        {"VBR with Xing header.mp3", 0, true, 2, 1.0f},
        {"64 kbps mono MPEG-2.mp3", 64, false, 1, 2.0f},
        {"128 kbps with ID3v1 tag.mp3", 128, false, 2, 1.0f},
    };
    QStringList names = ListFolderFiles(folder, "*.*");
    EXPECT_EQ(names.size(), 5);
    std::uintmax_t total = 0;
    mp3::MP3Info info;
    for (const auto& e : expected) {
        const QString path = folder + "/" + e.name;
        ASSERT_TRUE(info.ReadMP3Info(QFile::encodeName(path).toStdString())) << e.name;
        EXPECT_EQ(info.IsVBR(), e.vbr) << e.name;
        if (!e.vbr) {
            EXPECT_EQ(info.Bitrate(), e.kbps * 1000) << e.name;
        }
        EXPECT_EQ(info.Channels(), e.channels) << e.name;
        EXPECT_EQ(info.MpegVersion(), e.version) << e.name;
        total += std::filesystem::file_size(test::Native(path));
    }
    EXPECT_LT(total, 1024u * 1024u);

    const auto tagged =
        test::ReadAll(test::Native(folder + "/192 kbps joint stereo with cover.mp3").string());
    const std::string head(tagged.begin(), tagged.begin() + 4096);
    EXPECT_EQ(head.substr(0, 3), "ID3");
    for (const char* frame : {"TIT2", "TPE1", "APIC", "image/png"}) {
        EXPECT_NE(head.find(frame), std::string::npos) << frame;
    }
    const auto v1 = test::ReadAll(test::Native(folder + "/128 kbps with ID3v1 tag.mp3").string());
    EXPECT_EQ(std::string(v1.end() - 128, v1.end() - 125), "TAG");
}

}  // namespace
}  // namespace mirelune

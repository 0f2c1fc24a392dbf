// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/AddByDialog.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "filelist/FileList.h"
#include "mp3/MP3Info.h"
#include "shell/ErrorGuard.h"
#include "shell/ErrorLocations.h"
#include "shell/ErrorReport.h"
#include "support/FakeWindowLayer.h"
#include "support/ListTestSupport.h"
#include "support/ScratchDir.h"

namespace mirelune {
namespace {

using test::Box;

class AddByDialogTest : public ::testing::Test {
  protected:
    void pick(const QStringList& paths) { window.queueFiles(paths); }
    void run() { AddFilesByDialog(FileListFiller{list, info, window}); }

    std::vector<FileEntry> rows() const { return test::Entries(list); }

    const QString location = QString::fromUtf8(location::kPushButton1Click);
    test::ScratchDir dir;
    test::FakeWindowLayer window;
    FileList list;
    mp3::MP3Info info;
};

TEST_F(AddByDialogTest, AsksForMp3FilesAndStopsOnCancel) {
    run();
    ASSERT_EQ(window.interactions().size(), 1u);
    const test::Interaction& dialog = window.interactions()[0];
    EXPECT_EQ(dialog.kind, test::Interaction::Kind::OpenFiles);
    EXPECT_EQ(dialog.title, "Add File(s) - Hold Ctrl or Shift to select multiple files");
    EXPECT_EQ(dialog.text, "Mp3 Files (*.mp3)");
    EXPECT_EQ(list.count(), 0);
}

TEST_F(AddByDialogTest, ASinglePickIsTakenAsTheDialogGaveIt) {
    const QString song = test::WriteMp3At128(dir, "song.mp3");
    // Doubled separators are the file system's business for a single pick.
    const QString asGiven = test::ToQString(dir.path().string()) + "//song.mp3";
    pick({asGiven});
    run();
    EXPECT_EQ(rows(), (std::vector<FileEntry>{{asGiven, "128 kbps"}}));
    EXPECT_TRUE(window.boxes().empty());
}

TEST_F(AddByDialogTest, SeveralPicksAreCleanedAndAddedInTheDialogsOrder) {
    test::WriteMp3At128(dir, "a.mp3");
    test::WriteMp3At192(dir, "b.mp3");
    const QString folder = test::ToQString(dir.path().string());
    pick({folder + "//a.mp3", folder + "/b.mp3", folder + "/a.mp3"});
    run();
    EXPECT_EQ(rows(), (std::vector<FileEntry>{{folder + "/a.mp3", "128 kbps"},
                                              {folder + "/b.mp3", "192 kbps"},
                                              {folder + "/a.mp3", "128 kbps"}}));
    EXPECT_TRUE(window.boxes().empty());
}

TEST_F(AddByDialogTest, InvalidPicksAreNamedInOneBoxOnceEveryPickIsDone) {
    struct Case {
        const char* what;
        std::vector<const char*> picks;  // "+" valid, "-" no MP3, "!" malformed
        int rows;
        const char* box;  // <1>, <2>...: the path of that pick; nullptr: no box
    };
    const Case cases[] = {
        {"a malformed single pick", {"!"}, 0, "Not a valid MP3 file\r\n<1> (division by zero)"},
        {"one invalid among several", {"+", "-", "+"}, 2, "Not a valid MP3 file\r\n<2>"},
        {"several invalid",
         {"-", "+", "!", "-"},
         1,
         "3 files are not valid MP3 files:\r\n<1>\r\n<3> (division by zero)\r\n<4>"},
        {"all valid", {"+", "+"}, 2, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        list.clear();
        window.clearRecord();
        std::vector<int> rowsWhenShown;
        window.onMessageBox([&](const Box&) { rowsWhenShown.push_back(list.count()); });
        QStringList picked;
        for (std::size_t k = 0; k < c.picks.size(); ++k) {
            const std::string name = std::to_string(k + 1) + ".mp3";
            const char kind = c.picks[k][0];
            picked << (kind == '+'   ? test::WriteMp3At128(dir, name)
                       : kind == '-' ? test::WriteNotMp3(dir, name)
                                     : test::WriteFailingMp3(dir, name));
        }
        pick(picked);
        run();

        EXPECT_EQ(list.count(), c.rows);
        if (c.box == nullptr) {
            EXPECT_TRUE(window.boxes().empty());
            continue;
        }
        QString text = QString::fromUtf8(c.box);
        for (int k = 1; k <= picked.size(); ++k) {
            text.replace(QStringLiteral("<%1>").arg(k), picked.at(k - 1));
        }
        EXPECT_EQ(window.boxes(), (std::vector<Box>{{window.applicationTitle(), text,
                                                     MessageButtons::Ok, MessageIcon::None}}));
        EXPECT_EQ(rowsWhenShown, std::vector<int>{c.rows});
    }
}

TEST_F(AddByDialogTest, NoSelectionIsTooLarge) {
    const QString song = test::WriteMp3At128(dir, "a-rather-long-file-name-for-a-song.mp3");
    // Far beyond what a 30000-character name buffer could have held.
    const QStringList picked(3000, song);
    pick(picked);
    run();
    EXPECT_EQ(list.count(), 3000);
    EXPECT_TRUE(window.boxes().empty());
}

TEST(CandidateFile, ARefusedFileIsCollectedWithItsFailureAndNothingIsShown) {
    test::FakeWindowLayer window;
    FileList list;
    mp3::MP3Info info;
    const FileListFiller filler{list, info, window};
    test::ScratchDir dir;
    ErrorGuard guard(window, "in Test.Scan ");
    RefusedFiles refused;
    const QString malformed = test::WriteFailingMp3(dir, "bad.mp3");
    const QString missing = test::ToQString(dir.file("missing.mp3"));

    EXPECT_FALSE(AddCandidateFile(guard, CandidateStepsFrom(134), filler, malformed, refused));
    EXPECT_FALSE(AddCandidateFile(guard, CandidateStepsFrom(134), filler, missing, refused));
    EXPECT_TRUE(AddCandidateFile(guard, CandidateStepsFrom(134), filler,
                                 test::WriteMp3At128(dir, "good.mp3"), refused));

    EXPECT_TRUE(window.boxes().empty());
    EXPECT_EQ(list.count(), 1);
    ASSERT_EQ(refused.entries().size(), 2);
    EXPECT_EQ(refused.entries()[0].path, malformed);
    EXPECT_EQ(refused.entries()[0].reason, "division by zero");
    EXPECT_EQ(refused.entries()[1].path, missing);
    EXPECT_EQ(refused.entries()[1].reason, "");
}

TEST_F(AddByDialogTest, AFailureShowingTheSummaryIsReportedAsStep156) {
    const QString cover = test::WriteNotMp3(dir, "cover.mp3");
    window.onMessageBox([](const Box& box) {
        if (box.title != QString::fromUtf8(kErrorReportTitle)) {
            throw std::runtime_error("no box");
        }
    });
    pick({cover});
    run();
    ASSERT_EQ(window.boxes().size(), 2u);
    EXPECT_TRUE(test::IsReport(window.boxes()[1], location, 156));
}

}  // namespace
}  // namespace mirelune

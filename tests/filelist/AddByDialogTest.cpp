#include "filelist/AddByDialog.h"

#include <gtest/gtest.h>

#include <vector>

#include "filelist/FileList.h"
#include "mp3/MP3Info.h"
#include "shell/ErrorGuard.h"
#include "shell/ErrorLocations.h"
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

TEST_F(AddByDialogTest, EachInvalidPickGetsItsBoxAtItsPlaceInTheOrder) {
    const QString first = test::WriteMp3At128(dir, "first.mp3");
    const QString cover = test::WriteNotMp3(dir, "cover.mp3");
    const QString last = test::WriteMp3At192(dir, "last.mp3");
    std::vector<int> rowsWhenRefused;
    window.onMessageBox([&](const Box&) { rowsWhenRefused.push_back(list.count()); });
    pick({first, cover, last});
    run();
    EXPECT_EQ(rows(), (std::vector<FileEntry>{{first, "128 kbps"}, {last, "192 kbps"}}));
    EXPECT_EQ(window.boxes(), std::vector<Box>{test::NotValidBox()});
    EXPECT_EQ(rowsWhenRefused, std::vector<int>{1});
}

TEST_F(AddByDialogTest, AFailedAnalysisIsReportedAndTheFileRefused) {
    struct Case {
        const char* what;
        int pickedBefore;  // valid files picked before the failing one
        int reportedLine;
    };
    const Case cases[] = {{"alone", 0, 122}, {"among several", 1, 146}};
    const QString good = test::WriteMp3At128(dir, "good.mp3");
    const QString failing = test::WriteFailingMp3(dir, "failing.mp3");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        list.clear();
        window.clearRecord();
        QStringList picked;
        for (int i = 0; i < c.pickedBefore; ++i) {
            picked << good;
        }
        pick(picked << failing);
        run();
        EXPECT_EQ(list.count(), c.pickedBefore);
        ASSERT_EQ(window.boxes().size(), 2u);
        EXPECT_TRUE(test::IsReport(window.boxes()[0], location, c.reportedLine))
            << window.boxes()[0].text.toStdString();
        EXPECT_EQ(window.boxes()[1], test::NotValidBox());
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

TEST(CandidateFile, StepsAreReportedWithTheCallersNumbers) {
    test::FakeWindowLayer window;
    FileList list;
    mp3::MP3Info info;
    const FileListFiller filler{list, info, window};
    // The folder scan's numbering.
    const CandidateSteps steps = CandidateStepsFrom(134);

    test::ScratchDir dir;
    ErrorGuard guard(window, "in Test.Scan ");
    EXPECT_FALSE(AddCandidateFile(guard, steps, filler, test::WriteFailingMp3(dir, "bad.mp3")));
    ASSERT_EQ(window.boxes().size(), 2u);
    EXPECT_TRUE(test::IsReport(window.boxes()[0], "in Test.Scan ", 134));
    EXPECT_EQ(window.boxes()[1], test::NotValidBox());

    EXPECT_FALSE(AddCandidateFile(guard, steps, filler, test::ToQString(dir.file("missing.mp3"))));
    EXPECT_TRUE(AddCandidateFile(guard, steps, filler, test::WriteMp3At128(dir, "good.mp3")));
    EXPECT_EQ(window.boxes().size(), 3u);
    EXPECT_EQ(list.count(), 1);
}

}  // namespace
}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <stdexcept>

#include "filelist/CandidateLog.h"
#include "filelist/FolderScan.h"
#include "shell/ErrorLocations.h"
#include "shell/ErrorReport.h"
#include "shell/SettingsStore.h"
#include "support/FakeWindowLayer.h"
#include "support/FolderTree.h"

namespace mirelune {
namespace {

using test::Interaction;
using test::Tree;

const QString kAbsent = QStringLiteral("<absent>");

class FolderScanTest : public ::testing::Test {
  protected:
    FolderScanTest() : settings(window, settingsDir.root()), log(window) {}

    void Scan() {
        FolderScanHost host{
            window, settings, [this](bool busy) { pointer.push_back(busy); },
            [this](const QString& path, ErrorGuard& guard, int firstStep, RefusedFiles& refused) {
                // The pointer must be busy while files are added.
                offeredWhileBusy.push_back(!pointer.empty() && pointer.back());
                log.callback()(path, guard, firstStep, refused);
            }};
        RunFolderScan(host);
    }
    QString Stored(const char* key) const { return settings.get(key, kAbsent); }

    Tree settingsDir;
    Tree tree;
    test::FakeWindowLayer window;
    SettingsStore settings;
    test::CandidateLog log;
    std::vector<bool> pointer;
    std::vector<bool> offeredWhileBusy;
};

TEST_F(FolderScanTest, PromptsWithTheStoredExtensionThenBrowsesFromTheLastFolder) {
    settings.save("LastFolder", tree.path("before"));
    window.queueInput("wav");
    Scan();
    window.queueInput("ogg");
    Scan();

    ASSERT_EQ(window.interactions().size(), 4u);
    const Interaction& prompt = window.interactions()[0];
    EXPECT_EQ(prompt.kind, Interaction::Kind::InputBox);
    EXPECT_EQ(prompt.text,
              "Enter file extension to load:\r\r(* for all files, txt for all txt files, doc for "
              "all doc files, etc.)");
    EXPECT_EQ(prompt.title, window.applicationTitle());
    EXPECT_EQ(prompt.initial, "mp3");
    const Interaction& browser = window.interactions()[1];
    EXPECT_EQ(browser.kind, Interaction::Kind::FolderBrowser);
    EXPECT_EQ(browser.title, "Please select folder:");
    EXPECT_EQ(browser.initial, tree.path("before"));
    EXPECT_EQ(window.interactions()[2].initial, "wav");
}

TEST_F(FolderScanTest, CancelAtThePromptChangesNothing) {
    settings.save("LastFolder", tree.path("before"));
    Scan();

    EXPECT_EQ(window.interactions().size(), 1u);
    EXPECT_EQ(Stored("Extension"), kAbsent);
    EXPECT_EQ(Stored("LastFolder"), tree.path("before"));
    EXPECT_TRUE(pointer.empty());
    EXPECT_TRUE(log.offered.isEmpty());
}

TEST_F(FolderScanTest, ATypedExtensionIsKeptWhenTheFolderBrowserIsCancelled) {
    settings.save("LastFolder", tree.path("before"));
    window.queueInput("ogg");
    Scan();

    EXPECT_EQ(window.interactions().size(), 2u);
    EXPECT_EQ(Stored("Extension"), "ogg");
    EXPECT_EQ(Stored("LastFolder"), tree.path("before"));
    EXPECT_TRUE(pointer.empty());
    EXPECT_TRUE(log.offered.isEmpty());
}

TEST_F(FolderScanTest, TheChosenFolderIsRememberedAndScannedUnderTheBusyPointer) {
    tree.mp3("music/one.mp3");
    window.queueInput("mp3");
    window.queueFolder(tree.path("music"));
    Scan();

    EXPECT_EQ(Stored("LastFolder"), tree.path("music"));
    EXPECT_EQ(RememberedLastFolder(), tree.path("music"));
    EXPECT_EQ(pointer, (std::vector<bool>{true, false}));
    EXPECT_EQ(offeredWhileBusy, (std::vector<bool>{true}));
    EXPECT_EQ(log.rows, (QStringList{tree.path("music/one.mp3")}));
    EXPECT_EQ(log.firstSteps, (std::vector<int>{134}));
}

TEST_F(FolderScanTest, TheExtensionIsUsedExactlyAsTypedAndRefusalsAreSummedUpOnce) {
    tree.mp3("music/song.mp3");
    tree.mp3("music/LOUD.MP3");
    tree.mp3("music/double..mp3");
    tree.other("music/cover.jpg");
    tree.other("music/notes.txt");
    tree.mp3("music/sub/deep.mp3");
    const struct {
        const char* typed;
        QStringList offered;  // in the order offered
        const char* box;      // the one box after the scan; nullptr: none
    } cases[] = {
        {"mp3", {"double..mp3", "LOUD.MP3", "song.mp3", "sub/deep.mp3"}, nullptr},
        {"MP3", {"double..mp3", "LOUD.MP3", "song.mp3", "sub/deep.mp3"}, nullptr},
        {".mp3", {"double..mp3"}, nullptr},
        {"*",
         {"cover.jpg", "double..mp3", "LOUD.MP3", "notes.txt", "song.mp3", "sub/deep.mp3"},
         "2 files are not valid MP3 files:\r\n<music>/cover.jpg\r\n<music>/notes.txt"},
        {"jpg", {"cover.jpg"}, "Not a valid MP3 file\r\n<music>/cover.jpg"},
        {"wav", {}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        test::CandidateLog fresh(window);
        window.clearRecord();
        window.queueInput(c.typed);
        window.queueFolder(tree.path("music"));
        FolderScanHost host{window, settings, [](bool) {}, fresh.callback()};
        RunFolderScan(host);

        QStringList offered;
        for (const QString& path : fresh.offered) {
            offered.append(path.mid(tree.path("music/").size()));
        }
        EXPECT_EQ(offered, c.offered);
        if (c.box == nullptr) {
            EXPECT_TRUE(window.boxes().empty());
        } else {
            QString text = QString::fromUtf8(c.box);
            text.replace("<music>", tree.path("music"));
            EXPECT_EQ(window.boxes(),
                      (std::vector<test::Box>{{window.applicationTitle(), text, MessageButtons::Ok,
                                               MessageIcon::None}}));
        }
    }
}

TEST_F(FolderScanTest, AFileStartingWithTildeIsSkippedButATildeFolderIsScanned) {
    tree.mp3("music/~lock.mp3");
    tree.mp3("music/~folder/inside.mp3");
    tree.mp3("music/~folder/~also.mp3");
    window.queueInput("mp3");
    window.queueFolder(tree.path("music"));
    Scan();

    EXPECT_EQ(log.offered, (QStringList{tree.path("music/~folder/inside.mp3")}));
    EXPECT_TRUE(window.boxes().empty());
}

TEST_F(FolderScanTest, RowsFollowTheFoldersLevelByLevel) {
    tree.mp3("A/a.mp3");
    tree.mp3("A/B/b.mp3");
    tree.mp3("A/C/c.mp3");
    tree.mp3("A/B/D/d.mp3");
    window.queueInput("mp3");
    window.queueFolder(tree.path("A"));
    Scan();

    EXPECT_EQ(log.rows, (QStringList{tree.path("A/a.mp3"), tree.path("A/B/b.mp3"),
                                     tree.path("A/C/c.mp3"), tree.path("A/B/D/d.mp3")}));
}

TEST_F(FolderScanTest, AFifoAmongTheFilesDoesNotStopTheScan) {
    tree.mp3("music/one.mp3");
    tree.mp3("music/two.mp3");
    ASSERT_EQ(::mkfifo(QFile::encodeName(tree.path("music/pipe.mp3")).constData(), 0644), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(tree.path("music/pipe")).constData(), 0644), 0);
    window.queueInput("*");
    window.queueFolder(tree.path("music"));
    Scan();

    log.rows.sort();
    EXPECT_EQ(log.rows, (QStringList{tree.path("music/one.mp3"), tree.path("music/two.mp3")}));
    EXPECT_EQ(log.offered.size(), 2);
}

TEST_F(FolderScanTest, AFolderEndingInItsSeparatorGetsNoSecondOne) {
    tree.mp3("music/one.mp3");
    tree.mp3("music/sub/two.mp3");
    window.queueInput("mp3");
    window.queueFolder(tree.path("music") + "/");
    Scan();

    EXPECT_EQ(log.rows, (QStringList{tree.path("music/one.mp3"), tree.path("music/sub/two.mp3")}));
}

TEST_F(FolderScanTest, FailuresAreReportedWithTheirStepAndTheScanGoesOn) {
    tree.mp3("music/one.mp3");
    tree.mp3("music/two.mp3");
    window.queueInput("mp3");
    window.queueFolder(tree.path("music"));
    int offers = 0;
    FolderScanHost host{
        window, settings,
        [&](bool busy) {
            pointer.push_back(busy);
            if (busy) {
                throw std::runtime_error("no pointer");
            }
        },
        [&](const QString& path, ErrorGuard& guard, int firstStep, RefusedFiles& refused) {
            // Outside any step of its own, so the walk's step is reported.
            if (++offers == 1) {
                throw std::runtime_error("unreadable");
            }
            log.callback()(path, guard, firstStep, refused);
        }};
    RunFolderScan(host);

    const QString where = QString::fromUtf8(location::kPushButton3Click);
    ASSERT_EQ(window.boxes().size(), 2u);
    EXPECT_EQ(window.boxes()[0].text, ErrorReportText("no pointer", where, 114));
    EXPECT_EQ(window.boxes()[1].text, ErrorReportText("unreadable", where, 134));
    EXPECT_EQ(offers, 2);
    EXPECT_EQ(log.rows.size(), 1);
    EXPECT_EQ(pointer, (std::vector<bool>{true, false}));
}

// Storing the chosen folder fails: the settings file has become a folder.
class BreakingSettingsWindow : public test::FakeWindowLayer {
  public:
    QString browseForFolder(const QString& title, const QString& initialFolder) override {
        const QString chosen = FakeWindowLayer::browseForFolder(title, initialFolder);
        std::filesystem::remove(test::Native(settingsFile));
        std::filesystem::create_directory(test::Native(settingsFile));
        SettingsStore::resetUnsavedNotice();
        return chosen;
    }
    QString settingsFile;
};

TEST_F(FolderScanTest, AFailureStoringTheChosenFolderIsReportedAsStep334) {
    BreakingSettingsWindow breaking;
    SettingsStore store(breaking, settingsDir.path("store"));
    breaking.settingsFile = store.filePath();
    breaking.queueInput("mp3");
    breaking.queueFolder(tree.folder("music"));
    tree.mp3("music/one.mp3");
    breaking.onMessageBox([](const test::Box& box) {
        if (box.text.startsWith("Your settings cannot be saved")) {
            throw std::runtime_error("notice failed");
        }
    });
    test::CandidateLog rows(breaking);
    FolderScanHost host{breaking, store, [](bool) {}, rows.callback()};
    RunFolderScan(host);
    SettingsStore::resetUnsavedNotice();

    ASSERT_EQ(breaking.boxes().size(), 2u);
    EXPECT_EQ(
        breaking.boxes()[1].text,
        ErrorReportText("notice failed", QString::fromUtf8(location::kPushButton3Click), 334));
    EXPECT_EQ(RememberedLastFolder(), tree.path("music"));
    EXPECT_EQ(rows.rows.size(), 1);
}

}  // namespace
}  // namespace mirelune

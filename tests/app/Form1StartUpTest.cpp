// SPDX-License-Identifier: GPL-3.0-or-later
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>

#include "app/StartUpDefaults.h"
#include "app/WindowTestSupport.h"
#include "filelist/FileList.h"
#include "reduce/ReduceOptions.h"
#include "shell/ErrorLocations.h"

namespace mirelune {
namespace {

using test::Interaction;

class StartUpTest : public test::WindowTest {
  protected:
    const QString location = QString::fromUtf8(location::kFormLoad);
};

TEST_F(StartUpTest, AnEmptyStoreGivesTheDefaultsAndSavesThemBack) {
    Form1& form = start();

    auto* combo = control<QComboBox>("Combo1");
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i) {
        entries << combo->itemText(i);
    }
    EXPECT_EQ(entries, ReduceEntries());
    EXPECT_EQ(combo->currentText(), "Reduce to 128 kbps");
    const QString desktop = DefaultOutputFolder();
    EXPECT_TRUE(desktop.endsWith('/'));
    EXPECT_EQ(control<QLineEdit>("Text1")->text(), desktop);
    EXPECT_TRUE(control<QRadioButton>("Option1")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("Option2")->isChecked());
    EXPECT_TRUE(control<QGroupBox>("Frame2")->isEnabled());

    EXPECT_EQ(stored("Combo1"), "8");
    EXPECT_EQ(stored("Text1"), desktop);
    // The options were restored to the state they already had: no change, no write.
    EXPECT_EQ(stored("Option1"), "<absent>");
    EXPECT_EQ(stored("Option2"), "<absent>");

    EXPECT_TRUE(window().interactions().empty());
    EXPECT_EQ(form.windowTitle(), "Mirelune");
    EXPECT_FALSE(form.windowIcon().isNull());
    EXPECT_EQ(window().applicationTitle(), "Mirelune");
}

TEST_F(StartUpTest, TheListGetsItsTwoColumns) {
    start();
    auto* list = control<QTreeView>("ListView1");
    EXPECT_EQ(form().fileList().columnHeaders(), (QStringList{"MP3 File(s)", "Bitrate"}));
    EXPECT_EQ(list->header()->sectionSize(0), 400);
    EXPECT_EQ(list->header()->sectionSize(1), 80);
}

TEST_F(StartUpTest, StoredChoicesAreRestored) {
    struct Case {
        const char* what;
        std::vector<std::pair<QString, QString>> settings;
        const char* entry;
        const char* folder;
        bool option1;
        bool option2;
    };
    const Case cases[] = {
        {"highest bitrate",
         {{"Combo1", "13"}, {"Text1", "/out/"}},
         "Reduce to 320 kbps",
         "/out/",
         true,
         false},
        {"lowest bitrate",
         {{"Combo1", "0"}, {"Text1", "/out/"}},
         "Reduce to 32 kbps",
         "/out/",
         true,
         false},
        {"a folder without its separator is kept as it is",
         {{"Text1", "/data/music out"}},
         "Reduce to 128 kbps",
         "/data/music out",
         true,
         false},
        {"an emptied folder stays empty", {{"Text1", ""}}, "Reduce to 128 kbps", "", true, false},
        {"results beside the originals",
         {{"Option1", "False"}, {"Option2", "True"}, {"Text1", "/out/"}},
         "Reduce to 128 kbps",
         "/out/",
         false,
         true},
        {"neither option, as only an edited store can say",
         {{"Option1", "False"}, {"Option2", "False"}, {"Text1", "/out/"}},
         "Reduce to 128 kbps",
         "/out/",
         false,
         false},
        {"numbers as booleans",
         {{"Option1", "0"}, {"Option2", "-1"}, {"Text1", "/out/"}},
         "Reduce to 128 kbps",
         "/out/",
         false,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(settingsFolder_.toStdString());
        for (const auto& [key, value] : c.settings) {
            store(key, value);
        }
        start();
        EXPECT_EQ(control<QComboBox>("Combo1")->currentText(), c.entry);
        EXPECT_EQ(control<QLineEdit>("Text1")->text(), c.folder);
        EXPECT_EQ(control<QRadioButton>("Option1")->isChecked(), c.option1);
        EXPECT_EQ(control<QRadioButton>("Option2")->isChecked(), c.option2);
        // The folder controls are usable exactly when results go to that folder.
        EXPECT_EQ(control<QGroupBox>("Frame2")->isEnabled(), c.option1);
        EXPECT_EQ(control<QLineEdit>("Text1")->isEnabled(), c.option1);
        EXPECT_EQ(control<QPushButton>("PushButton7")->isEnabled(), c.option1);
        EXPECT_TRUE(window().boxes().empty());
        EXPECT_EQ(stored("Text1"), c.folder);
    }
}

TEST_F(StartUpTest, ABadStoredValueIsReportedWithItsLineAndLeavesTheControlAsItWas) {
    struct Case {
        const char* key;
        const char* value;
        int line;
    };
    const Case cases[] = {
        {"Combo1", "abc", 170},    {"Combo1", "14", 170},  {"Combo1", "-1", 170},
        {"Combo1", "70000", 170},  {"Combo1", "8.5", 170}, {"Option1", "yes", 174},
        {"Option2", "maybe", 176}, {"Option1", "", 174},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        std::filesystem::remove_all(settingsFolder_.toStdString());
        store(c.key, c.value);
        start();
        ASSERT_EQ(window().boxes().size(), 1u);
        EXPECT_TRUE(test::IsReport(window().boxes()[0], location, c.line))
            << window().boxes()[0].text.toStdString();
        const bool combo = QString(c.key) == "Combo1";
        EXPECT_EQ(control<QComboBox>("Combo1")->currentIndex(), combo ? -1 : 8);
        EXPECT_TRUE(control<QRadioButton>("Option1")->isChecked());
        EXPECT_FALSE(control<QRadioButton>("Option2")->isChecked());
        EXPECT_TRUE(control<QGroupBox>("Frame2")->isEnabled());
        // Nothing overwrote the bad value: the user's file is as it was.
        EXPECT_EQ(stored(c.key), c.value);
    }
}

TEST_F(StartUpTest, OneStartInAHundredOpensTheHomePageWhenTheBuildNamesOne) {
    struct Case {
        int draw;
        const char* address;
        bool opens;
    };
    const Case cases[] = {
        {7, "https://example.org/mirelune", true},
        {1, "https://example.org/mirelune", false},
        {6, "https://example.org/mirelune", false},
        {8, "https://example.org/mirelune", false},
        {100, "https://example.org/mirelune", false},
        // No address configured: no browser, whatever the draw.
        {7, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.draw << " " << c.address);
        draw_ = c.draw;
        homePage_ = QString::fromUtf8(c.address);
        start();
        const auto& calls = window().interactions();
        ASSERT_EQ(calls.size(), c.opens ? 1u : 0u);
        if (c.opens) {
            EXPECT_EQ(calls[0].kind, Interaction::Kind::OpenUrl);
            EXPECT_EQ(calls[0].url, QUrl(QString::fromUtf8(c.address)));
        }
    }
}

TEST(HomePageDraw, StaysWithinOneToAHundred) {
    bool sawLowest = false;
    bool sawHighest = false;
    for (int i = 0; i < 20000; ++i) {
        const int n = DrawPercent();
        ASSERT_GE(n, 1);
        ASSERT_LE(n, 100);
        sawLowest = sawLowest || n == 1;
        sawHighest = sawHighest || n == 100;
    }
    EXPECT_TRUE(sawLowest);
    EXPECT_TRUE(sawHighest);
}

TEST(DefaultOutputFolder, DesktopWhenThereIsOneElseHome) {
    test::ScratchDir home;
    const QByteArray savedHome = qgetenv("HOME");
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QByteArray::fromStdString(home.path().string()));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home.file(".config")));
    const QString homeFolder = test::ToQString(home.path().string());

    EXPECT_EQ(DefaultOutputFolder(), homeFolder + "/");
    std::filesystem::create_directory(home.path() / "Desktop");
    EXPECT_EQ(DefaultOutputFolder(), homeFolder + "/Desktop/");

    qputenv("HOME", savedHome);
    if (savedConfig.isNull()) {
        qunsetenv("XDG_CONFIG_HOME");
    } else {
        qputenv("XDG_CONFIG_HOME", savedConfig);
    }
}

TEST(ApplicationFolder, InstalledUnderShareElseBesideTheProgram) {
    test::ScratchDir root;
    const QString base = test::ToQString(root.path().string());
    std::filesystem::create_directories(root.path() / "usr/bin");
    std::filesystem::create_directories(root.path() / "usr/share/mirelune/Samples");
    std::filesystem::create_directories(root.path() / "build/src/app/Samples");
    // A file of that name is no installed tree.
    std::filesystem::create_directories(root.path() / "odd/bin");
    std::filesystem::create_directories(root.path() / "odd/share");
    root.Write("odd/share/mirelune", {});

    const std::pair<QString, QString> cases[] = {
        {base + "/usr/bin", base + "/usr/share/mirelune"},
        {base + "/usr/bin/", base + "/usr/share/mirelune"},
        {base + "/build/src/app", base + "/build/src/app"},
        {base + "/odd/bin", base + "/odd/bin"},
    };
    for (const auto& [program, expected] : cases) {
        SCOPED_TRACE(program.toStdString());
        EXPECT_EQ(ApplicationFolderOf(program), expected);
    }
}

TEST_F(StartUpTest, BeforeStartUpThereIsNoReaderToUse) {
    Form1& form = start(false);
    EXPECT_THROW(form.mp3Info(), Failure);
    form.Form_Load();
    EXPECT_NO_THROW(form.mp3Info());
}

TEST_F(StartUpTest, ClosingAsksNothingAndSavesNothing) {
    Form1& form = start();
    const QString before = stored("Text1");
    form.show();
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(form.isClosing());
    EXPECT_TRUE(window().interactions().empty());
    EXPECT_EQ(stored("Text1"), before);
}

}  // namespace
}  // namespace mirelune

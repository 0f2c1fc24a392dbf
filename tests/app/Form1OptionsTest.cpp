// SPDX-License-Identifier: GPL-3.0-or-later
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>

#include "app/WindowTestSupport.h"
#include "reduce/ReduceOptions.h"
#include "shell/ErrorLocations.h"

namespace mirelune {
namespace {

using test::Interaction;

class OptionsTest : public test::WindowTest {};

TEST_F(OptionsTest, EachOptionClickSavesThePairAndSetsTheFolderControls) {
    start();
    auto* option1 = control<QRadioButton>("Option1");
    auto* option2 = control<QRadioButton>("Option2");
    struct Step {
        QRadioButton* clicked;
        const char* option1;
        const char* option2;
        bool folderEnabled;
    };
    for (const Step& s :
         {Step{option2, "False", "True", false}, Step{option1, "True", "False", true},
          Step{option1, "True", "False", true}, Step{option2, "False", "True", false}}) {
        SCOPED_TRACE(s.clicked->objectName().toStdString());
        QTest::mouseClick(s.clicked, Qt::LeftButton, {}, QPoint(5, s.clicked->height() / 2));
        EXPECT_EQ(stored("Option1"), s.option1);
        EXPECT_EQ(stored("Option2"), s.option2);
        EXPECT_EQ(option1->isChecked(), s.folderEnabled);
        EXPECT_EQ(control<QLineEdit>("Text1")->isEnabled(), s.folderEnabled);
        EXPECT_EQ(control<QPushButton>("PushButton7")->isEnabled(), s.folderEnabled);
    }
}

// The accessibility bus's toggle checks a button without a click; keys and
// the mouse click it. Each is a choice, and saved as one.
TEST_F(OptionsTest, EveryWayOfChoosingResultsBesideTheOriginalsSavesIt) {
    const struct {
        const char* way;
        std::function<void(QRadioButton*)> choose;
    } ways[] = {
        {"accessibility toggle", [](QRadioButton* option) { option->toggle(); }},
        {"mouse",
         [](QRadioButton* option) {
             QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(5, option->height() / 2));
         }},
        {"keys",
         [](QRadioButton* option) {
             option->setFocus();
             QTest::keyClick(option, Qt::Key_Space);
         }},
    };
    for (const auto& w : ways) {
        SCOPED_TRACE(w.way);
        start();
        w.choose(control<QRadioButton>("Option2"));
        EXPECT_EQ(stored("Option1"), "False");
        EXPECT_EQ(stored("Option2"), "True");
        EXPECT_FALSE(control<QLineEdit>("Text1")->isEnabled());
        control<QRadioButton>("Option1")->toggle();
        EXPECT_EQ(stored("Option1"), "True");
        EXPECT_EQ(stored("Option2"), "False");
        EXPECT_TRUE(control<QLineEdit>("Text1")->isEnabled());
    }
}

TEST_F(OptionsTest, StartUpRestoresTheChoiceButSavesNothing) {
    store("Option1", "0");
    store("Option2", "-1");
    start();
    EXPECT_TRUE(control<QRadioButton>("Option2")->isChecked());
    EXPECT_EQ(stored("Option1"), "0");
    EXPECT_EQ(stored("Option2"), "-1");
}

TEST_F(OptionsTest, ChoosingABitrateSavesItsIndex) {
    Form1& form = start();
    auto* combo = control<QComboBox>("Combo1");
    for (int index : {13, 0, 8}) {
        SCOPED_TRACE(index);
        combo->setCurrentIndex(index);
        EXPECT_EQ(stored("Combo1"), QString::number(index));
        EXPECT_EQ(TargetKbps(form.reduceOptions().entryText),
                  TargetKbps(ReduceEntries().at(index)));
    }
}

TEST_F(OptionsTest, EveryChangeOfTheFolderTextIsSaved) {
    start();
    auto* text = control<QLineEdit>("Text1");
    text->clear();
    EXPECT_EQ(stored("Text1"), "");
    QTest::keyClicks(text, "/ou");
    EXPECT_EQ(stored("Text1"), "/ou");
    QTest::keyClick(text, Qt::Key_Backspace);
    EXPECT_EQ(stored("Text1"), "/o");
}

TEST_F(OptionsTest, TheBrowseButtonSetsTheFolderWithItsSeparator) {
    struct Case {
        const char* what;
        const char* chosen;  // nullptr: cancelled
        const char* text;
        const char* lastFolder;
    };
    const Case cases[] = {
        {"a folder", "/data/Out", "/data/Out/", "/data/Out"},
        {"the root", "/", "/", "/"},
        {"a folder given with its separator", "/data/In/", "/data/In/", "/data/In/"},
        {"cancelled", nullptr, "/before/", "/earlier"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        store("Text1", "/before/");
        store("LastFolderDot", "/earlier");
        start();
        if (c.chosen != nullptr) {
            window().queueFolder(c.chosen);
        }
        control<QPushButton>("PushButton7")->click();

        ASSERT_EQ(window().interactions().size(), 1u);
        const Interaction& browser = window().interactions()[0];
        EXPECT_EQ(browser.kind, Interaction::Kind::FolderBrowser);
        EXPECT_EQ(browser.title, "Please select folder:");
        EXPECT_EQ(browser.initial, "/earlier");
        EXPECT_EQ(control<QLineEdit>("Text1")->text(), c.text);
        EXPECT_EQ(stored("Text1"), c.text);
        EXPECT_EQ(stored("LastFolderDot"), c.lastFolder);
    }
}

}  // namespace
}  // namespace mirelune

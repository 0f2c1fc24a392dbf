// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "support/FakeWindowLayer.h"

namespace mirelune::test {
namespace {

using Kind = Interaction::Kind;

TEST(FakeWindowLayer, AnswersFromItsQueuesInOrder) {
    FakeWindowLayer window;
    window.queueAnswer(MessageAnswer::Yes);
    window.queueInput("wav");
    window.queueFolder("/srv/music");
    window.queueFiles({"/a.mp3", "/b.mp3"});

    // OK boxes take nothing from the answer queue.
    EXPECT_EQ(window.messageBox("Done.", "T", MessageButtons::Ok, MessageIcon::None),
              MessageAnswer::Ok);
    EXPECT_EQ(window.messageBox("Sure?", "T", MessageButtons::YesNo, MessageIcon::Question),
              MessageAnswer::Yes);
    EXPECT_EQ(window.inputBox("Extension?", "T", "mp3"), QStringLiteral("wav"));
    EXPECT_EQ(window.browseForFolder("Please select folder:", "/home"),
              QStringLiteral("/srv/music"));
    EXPECT_EQ(window.openFiles("Add", "Mp3 Files (*.mp3)"), (QStringList{"/a.mp3", "/b.mp3"}));
    EXPECT_EQ(window.unusedAnswers(), 0u);
}

TEST(FakeWindowLayer, UnscriptedQuestionsGetTheCautiousAnswer) {
    FakeWindowLayer window;
    EXPECT_EQ(window.messageBox("Sure?", "T", MessageButtons::YesNo, MessageIcon::None),
              MessageAnswer::No);
    EXPECT_EQ(window.messageBox("Replace?", "T", MessageButtons::YesNoCancel, MessageIcon::None),
              MessageAnswer::Cancel);
    EXPECT_EQ(window.inputBox("Extension?", "T", "mp3"), QString());
    EXPECT_EQ(window.browseForFolder("Pick", "/home"), QString());
    EXPECT_TRUE(window.openFiles("Add", "*.mp3").isEmpty());
}

TEST(FakeWindowLayer, RecordsEveryCallInOrder) {
    FakeWindowLayer window;
    window.inputBox("Extension?", "Mirelune", "mp3");
    window.browseForFolder("Please select folder:", "/home/u");
    window.openFolder("/home/u/out");
    window.yieldToEvents();
    window.messageBox("Not a valid MP3 file", "Mirelune", MessageButtons::Ok, MessageIcon::None);

    const std::vector<Interaction>& calls = window.interactions();
    ASSERT_EQ(calls.size(), 4u) << "yields are counted, not listed";
    EXPECT_EQ(calls[0].kind, Kind::InputBox);
    EXPECT_EQ(calls[0].text, QStringLiteral("Extension?"));
    EXPECT_EQ(calls[0].initial, QStringLiteral("mp3"));
    EXPECT_EQ(calls[1].kind, Kind::FolderBrowser);
    EXPECT_EQ(calls[1].initial, QStringLiteral("/home/u"));
    EXPECT_EQ(calls[2].kind, Kind::OpenUrl);
    EXPECT_EQ(calls[2].url, QUrl::fromLocalFile("/home/u/out"));
    EXPECT_EQ(calls[3].kind, Kind::MessageBox);
    EXPECT_EQ(window.yieldCount(), 1);
    EXPECT_EQ(window.boxes(), (std::vector<Box>{{"Mirelune", "Not a valid MP3 file",
                                                 MessageButtons::Ok, MessageIcon::None}}));
}

TEST(FakeWindowLayer, RunsTheTestsActionsDuringYieldsAndBoxes) {
    FakeWindowLayer window;
    int yields = 0;
    std::vector<QString> seen;
    window.onYield([&] { ++yields; });
    window.onMessageBox([&](const Box& box) { seen.push_back(box.text); });

    window.yieldToEvents();
    window.showMessage("Done.");

    EXPECT_EQ(yields, 1);
    EXPECT_EQ(seen, (std::vector<QString>{"Done."}));
}

}  // namespace
}  // namespace mirelune::test

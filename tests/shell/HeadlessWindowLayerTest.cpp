// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "shell/HeadlessWindowLayer.h"

namespace mirelune {
namespace {

// Without a window nobody can answer: every question takes the cautious way.
TEST(HeadlessWindowLayer, QuestionsGetTheCautiousAnswer) {
    HeadlessWindowLayer window;
    EXPECT_EQ(window.messageBox("Open it?", "Mirelune", MessageButtons::YesNo, MessageIcon::None),
              MessageAnswer::No);
    EXPECT_EQ(window.messageBox("Replace them?", "Mirelune", MessageButtons::YesNoCancel,
                                MessageIcon::None),
              MessageAnswer::Cancel);
    EXPECT_EQ(window.messageBox("Done.", "Mirelune", MessageButtons::Ok, MessageIcon::None),
              MessageAnswer::Ok);
    EXPECT_TRUE(window.inputBox("Extension?", "Mirelune", "mp3").isEmpty());
    EXPECT_TRUE(window.browseForFolder("Folder?", "/").isEmpty());
    EXPECT_TRUE(window.openFiles("Files?", "Mp3 Files (*.mp3)").isEmpty());
    EXPECT_FALSE(window.openUrl(QUrl("https://example.org")));
}

}  // namespace
}  // namespace mirelune

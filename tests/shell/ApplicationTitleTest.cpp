// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "shell/ApplicationTitle.h"
#include "support/FakeWindowLayer.h"

namespace mirelune {
namespace {

struct TitleCase {
    const char* productName;
    const char* title;
};

class ApplicationTitleRule : public ::testing::TestWithParam<TitleCase> {};

TEST_P(ApplicationTitleRule, CutsWordsFromTheEnd) {
    EXPECT_EQ(ApplicationTitleFor(QString::fromUtf8(GetParam().productName)),
              QString::fromUtf8(GetParam().title));
}

INSTANTIATE_TEST_SUITE_P(
    Names, ApplicationTitleRule,
    ::testing::Values(
        // Short enough already, yet the last word still goes.
        TitleCase{"Mirelune MP3 Reducer", "Mirelune MP3"},
        TitleCase{"Mirelune Batch MP3 Bitrate Reducer Forty", "Mirelune Batch MP3 Bitrate Reducer"},
        // 50 characters: one cut leaves 42, so a second word goes.
        TitleCase{"Mirelune Batch MP3 Bitrate Reducer For The Desktop",
                  "Mirelune Batch MP3 Bitrate Reducer For"},
        TitleCase{"Mirelune BBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBB", "Mirelune"},
        // No blank to cut at: kept, at most 40 characters.
        TitleCase{"Mirelune", "Mirelune"},
        TitleCase{"AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA",
                  "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"},
        TitleCase{"", ""}));

TEST(ApplicationTitle, WindowLayerStartsWithTheProductTitleAndCanChangeIt) {
    test::FakeWindowLayer window;
    EXPECT_EQ(window.applicationTitle(), QStringLiteral("Mirelune"));

    window.setApplicationTitle(QStringLiteral("Other"));
    window.showMessage(QStringLiteral("Done."));

    ASSERT_EQ(window.boxes().size(), 1u);
    EXPECT_EQ(window.boxes()[0], (test::Box{QStringLiteral("Other"), QStringLiteral("Done."),
                                            MessageButtons::Ok, MessageIcon::None}));
}

}  // namespace
}  // namespace mirelune

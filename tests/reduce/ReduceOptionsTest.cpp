// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/ReduceOptions.h"

#include <gtest/gtest.h>

#include "shell/Failure.h"

namespace mirelune {
namespace {

TEST(TargetKbps, EveryOfferedEntryNamesItsBitrate) {
    const int expected[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    ASSERT_EQ(ReduceEntries().size(), 14);
    for (int i = 0; i < 14; ++i) {
        EXPECT_EQ(TargetKbps(ReduceEntries()[i]), expected[i]) << i;
    }
    EXPECT_EQ(ReduceEntries()[kDefaultReduceEntry], "Reduce to 128 kbps");
}

TEST(TargetKbps, ReadsTheLeadingNumberOfTheThirdPiece) {
    struct Case {
        const char* text;
        int kbps;
    };
    const Case cases[] = {
        {"Reduce to 128kbps", 128},
        {"a b 96.5", 96},
        {"a b 97.5", 98},
        {"a b kbps", 0},
        {"a b ", 0},
        {"x y -12", -12},
        {"Reduce to 320 kbps extra", 320},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TargetKbps(QString::fromUtf8(c.text)), c.kbps) << c.text;
    }
}

TEST(TargetKbps, FailsWithoutAThirdPieceOrOutOfRange) {
    const char* cases[] = {"", "Reduce", "Reduce to", "a b 40000", "a b -40000"};
    for (const char* text : cases) {
        EXPECT_THROW(TargetKbps(QString::fromUtf8(text)), Failure) << text;
    }
    // Two blanks make an empty second piece: the number is then the fourth.
    EXPECT_EQ(TargetKbps(QStringLiteral("Reduce  to 128")), 0);
}

}  // namespace
}  // namespace mirelune

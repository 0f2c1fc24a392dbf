// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/RunProgress.h"

#include <gtest/gtest.h>

#include "shell/Failure.h"

namespace mirelune {
namespace {

TEST(BarStepsFor, RoundsHalvesToEvenAndCapsFromTheUnroundedShare) {
    struct Case {
        qint32 fileCount;
        qint32 start;
        qint32 step;
        qint32 cap;
    };
    const Case cases[] = {
        {3, 33, 3, 63},                     // 3.33 -> 3; 33.33 + 33 - 3 = 63.33 -> 63
        {1, 100, 10, 190}, {4, 25, 2, 48},  // 2.5 -> 2 (even); 25 + 25 - 2
        {8, 12, 1, 24},                     // 1.25 -> 1; 12.5 + 12 - 1 = 23.5 -> 24 (even)
        {1000, 57, 0, 57},
    };
    for (const Case& c : cases) {
        const BarSteps steps = BarStepsFor(c.start, c.fileCount);
        EXPECT_EQ(steps.step, c.step) << c.fileCount << " files from " << c.start;
        EXPECT_EQ(steps.cap, c.cap) << c.fileCount << " files from " << c.start;
    }
    EXPECT_THROW(BarStepsFor(0, 0), Failure);
}

TEST(BarValueAtPoll, MovesEveryHundredFiftyPollsFromTheFiftiethUpToTheCap) {
    const BarSteps steps = BarStepsFor(25, 4);
    struct Case {
        qint32 polls;
        qint32 value;
    };
    const Case cases[] = {
        {1, -1},    {49, -1},  {50, 25},  {51, -1},   {199, -1},
        {200, 27},  {350, 29}, {500, 31}, {1700, 47}, {1850, 48},  // 49 would pass the cap
        {2000, 48},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BarValueAtPoll(c.polls, 25, steps), c.value) << "poll " << c.polls;
    }
}

TEST(BarValueAtPoll, ALongLastRowGoesBeyondTheRangeButIsShownAtItsEnd) {
    const BarSteps steps = BarStepsFor(100, 1);
    EXPECT_EQ(BarValueAtPoll(200, 100, steps), 110);
    EXPECT_EQ(ShownBarValue(BarValueAtPoll(200, 100, steps)), 100);
    EXPECT_EQ(ShownBarValue(56), 56);
    EXPECT_EQ(ShownBarValue(-3), 0);
}

TEST(WaitCaption, CountsPollsFromTheFiftieth) {
    EXPECT_EQ(WaitCaption(QStringLiteral("Processing: a.mp3"), 50),
              QStringLiteral("Processing: a.mp3, Please wait.. 0"));
    EXPECT_EQ(WaitCaption(QStringLiteral("Processing: a.mp3"), 213),
              QStringLiteral("Processing: a.mp3, Please wait.. 163"));
    EXPECT_EQ(WaitCaption(QString(), 51), QStringLiteral("Please wait.. 1"));
    EXPECT_EQ(CaptionAfterRun(QString()), QStringLiteral("Progress Bar"));
    EXPECT_EQ(CaptionAfterRun(QStringLiteral("x")), QStringLiteral("x"));
}

TEST(RowBarValue, IsTheWholePartOfTheShareDone) {
    struct Case {
        qint32 row;
        qint32 rows;
        qint32 value;
    };
    const Case cases[] = {
        {1, 3, 33},  {2, 3, 66}, {3, 3, 100},   {57, 100, 56},  // 0.57 * 100 is just below 57
        {1, 1, 100}, {1, 4, 25}, {29, 100, 28},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RowBarValue(c.row, c.rows), c.value) << c.row << " of " << c.rows;
    }
}

TEST(StartFailureCode, IsErrorFiftyThreePlusTheFacilityBits) {
    EXPECT_EQ(kStartFailureCode, -2147221451);
}

}  // namespace
}  // namespace mirelune

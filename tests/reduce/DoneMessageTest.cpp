// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/DoneMessage.h"

#include <gtest/gtest.h>

#include <QLocale>

namespace mirelune {
namespace {

TEST(DoneMessage, ListsFailuresAndThenSkippedFilesAfterDone) {
    EXPECT_EQ(DoneMessage(QLocale::c(), {}), QStringLiteral("Done."));
    EXPECT_EQ(DoneMessage(QLocale::c(),
                          {{{QStringLiteral("a.mp3"), QStringLiteral("why")}},
                           {{QStringLiteral("b.mp3"), QStringLiteral("exists")},
                            {QStringLiteral("b-reduced.mp3"), QStringLiteral("result of b.mp3")}}}),
              QStringLiteral("Done.\n\n1 file failed:\na.mp3: why\n\n2 files skipped:\n"
                             "b.mp3: exists\nb-reduced.mp3: result of b.mp3"));
    EXPECT_EQ(DoneMessage(QLocale::c(), {{{QStringLiteral("a.mp3"), QStringLiteral("why")}}}),
              QStringLiteral("Done.\n\n1 file failed:\na.mp3: why"));
    std::vector<RowFailure> many;
    for (int i = 1; i <= 23; ++i) {
        many.push_back({QStringLiteral("f%1.mp3").arg(i), QStringLiteral("r")});
    }
    const QStringList lines = DoneMessage(QLocale::c(), {many}).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2 + 1 + kListedFailures + 1);
    EXPECT_EQ(lines[2], QStringLiteral("23 files failed:"));
    EXPECT_EQ(lines[3], QStringLiteral("f1.mp3: r"));
    EXPECT_EQ(lines[2 + kListedFailures], QStringLiteral("f20.mp3: r"));
    EXPECT_EQ(lines.last(), QStringLiteral("and 3 more"));
}

// A line has no column to cut to; a name longer than kListedNameLength (70)
// loses its folders first, then the middle of its file name.
TEST(DoneMessage, ALongNameLosesFoldersFirstThenTheMiddleOfItsFileName) {
    const QString name = QStringLiteral(
        "01 - The Artist With A Long Name - A Rather Long Song Title (Remastered 2011).mp3");
    const struct {
        QString fileName;
        QString line;
    } cases[] = {
        {QStringLiteral("Album/Short.mp3"), QStringLiteral("Album/Short.mp3: gone")},
        {QStringLiteral(
             "The Long Album Name (Deluxe Edition Remastered 2011)/Disc 2/07 - Song.mp3"),
         QString::fromUtf8(
             "The Long Album Name (Deluxe …ion Remastered 2011)/Disc 2/07 - Song.mp3: gone")},
        {"Album/" + name,
         QString::fromUtf8(
             "…/01 - The Artist With A Long Name…ng Song Title (Remastered 2011).mp3: gone")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DoneMessage(QLocale::c(), {{{c.fileName, QStringLiteral("gone")}}})
                      .split(QLatin1Char('\n'))
                      .last(),
                  c.line);
    }
}

}  // namespace
}  // namespace mirelune

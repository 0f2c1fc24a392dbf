// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>

#include "shell/ElidedPath.h"

namespace mirelune {
namespace {

const QString kLongName = QStringLiteral(
    "/home/user/Music/01 - The Artist With A Long Name - A Rather Long Song Title (Remastered "
    "2011).mp3");

// In a font whose characters are all equally wide, the room is a count of them.
TEST(PathElision, InAFontsPixelsTheFileNameStaysInSightAndLosesItsMiddleLast) {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(12);
    // Whole pixels per character, so the room is an exact count of them.
    font.setHintingPreference(QFont::PreferFullHinting);
    const QFontMetrics metrics(font);
    ASSERT_TRUE(metrics.inFont(QChar(0x2026)));
    const int character = metrics.horizontalAdvance(QLatin1Char('x'));
    ASSERT_EQ(metrics.horizontalAdvance(QStringLiteral("…/W")), 3 * character);
    const TextWidth width = [&metrics](const QString& text) {
        return metrics.horizontalAdvance(text);
    };
    const struct {
        int characters;
        const char* shown;
    } cases[] = {
        {100,
         "/home/user/Music/01 - The Artist With A Long Name - A Rather Long Song Title "
         "(Remastered 2011).mp3"},
        {96,
         "/home/u…/Music/01 - The Artist With A Long Name - A Rather Long Song Title "
         "(Remastered 2011).mp3"},
        {60, "…/01 - The Artist With A Long…ng Title (Remastered 2011).mp3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ElidePath(kLongName, c.characters * character + character / 2, width),
                  QString::fromUtf8(c.shown))
            << c.characters;
    }
}

// In a font whose characters differ, as the list's usually does.
TEST(PathElision, InAProportionalFontTheResultFillsTheRoomItIsGiven) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    const QFontMetrics metrics(font);
    const TextWidth width = [&metrics](const QString& text) {
        return metrics.horizontalAdvance(text);
    };
    const QString path = QStringLiteral("/home/user/Music/Album/01 - Song.mp3");
    for (const QString& shown :
         {QStringLiteral("…/01 - Song.mp3"), QString::fromUtf8("/home…Album/01 - Song.mp3"),
          QString::fromUtf8("…/01…g.mp3")}) {
        EXPECT_EQ(ElidePath(path, metrics.horizontalAdvance(shown), width), shown);
    }
}

}  // namespace
}  // namespace mirelune

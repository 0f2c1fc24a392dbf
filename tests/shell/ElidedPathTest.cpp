// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "shell/ElidedPath.h"
#include "shell/ToolTipText.h"

namespace mirelune {
namespace {

TEST(ElidedPath, FoldersGiveWayBeforeTheFileNameWhichKeepsItsExtension) {
    const struct {
        const char* path;
        int characters;
        const char* shown;
    } cases[] = {
        {"/music/Album/01 Song.mp3", 24, "/music/Album/01 Song.mp3"},
        {"/music/Album/01 Song.mp3", 23, "/musi…Album/01 Song.mp3"},
        {"/music/Album/01 Song.mp3", 16, "/m…m/01 Song.mp3"},
        {"/music/Album/01 Song.mp3", 14, "/…/01 Song.mp3"},
        {"/music/Album/01 Song.mp3", 13, "…/01 Song.mp3"},
        {"/music/Album/01 Song.mp3", 12, "…/01 …ng.mp3"},
        {"/music/Album/01 Song.mp3", 7, "…/….mp3"},
        {"01 A Rather Long Title.mp3", 16, "01 A R…Title.mp3"},
        {"/music/.hidden-long-name", 12, "…/.hidd…name"},
        {"/music/Album/no-extension-at-all", 12, "…/no-ex…-all"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ElidePathToLength(QString::fromUtf8(c.path), c.characters),
                  QString::fromUtf8(c.shown))
            << c.path << " in " << c.characters;
    }
}

TEST(ElidedPath, NeverSplitsACharacterOutsideTheBasicPlane) {
    // U+1F3B5 takes two UTF-16 units; a cut between them would show garbage.
    const QString path = QString::fromUtf8("/m/\U0001F3B5\U0001F3B5\U0001F3B5\U0001F3B5.mp3");
    EXPECT_EQ(ElidePathToLength(path, 10), QString::fromUtf8("…/\U0001F3B5….mp3"));
}

TEST(ToolTipText, EscapesMarkupKeepsBlanksAndMayBreakAfterEachSeparator) {
    EXPECT_EQ(WrappingToolTip(QStringLiteral("/a <b> & c/d  e.mp3")),
              QString::fromUtf8("<p style=\"white-space:pre-wrap\">/\u200Ba &lt;b&gt; &amp; "
                                "c/\u200Bd  e.mp3</p>"));
}

}  // namespace
}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QString>

#include "folders/WildcardPattern.h"

namespace mirelune {
namespace {

struct WildcardCase {
    const char* pattern;
    const char* name;
    bool matches;
};

class WildcardPatternTest : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(WildcardPatternTest, MatchesLikeTheFileListing) {
    const WildcardCase& c = GetParam();
    EXPECT_EQ(WildcardPattern(QString::fromUtf8(c.pattern)).matches(QString::fromUtf8(c.name)),
              c.matches)
        << c.pattern << " against " << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, WildcardPatternTest,
    ::testing::Values(
        // "*.*" is every name, with or without a dot.
        WildcardCase{"*.*", "README", true}, WildcardCase{"*.*", "a.b", true},
        WildcardCase{"*.*", ".hidden", true}, WildcardCase{"*", "anything at all", true},
        // Letters match without regard to case, also outside ASCII.
        WildcardCase{"*.mp3", "song.mp3", true}, WildcardCase{"*.mp3", "SONG.MP3", true},
        WildcardCase{"*.MP3", "song.mp3", true}, WildcardCase{"É*", "été.mp3", true},
        // The extension is the whole tail, not a prefix of it.
        WildcardCase{"*.mp3", "song.mp3x", false}, WildcardCase{"*.mp3", "song.mp", false},
        WildcardCase{"*.mp3", "a.b.mp3", true}, WildcardCase{"*.mp3", ".mp3", true},
        // A typed leading dot stays: two dots in a row must be there.
        WildcardCase{"*..mp3", "song.mp3", false}, WildcardCase{"*..mp3", "song..mp3", true},
        // "*.*" typed as an extension needs two dots.
        WildcardCase{"*.*.*", "a.b", false}, WildcardCase{"*.*.*", "a.b.c", true},
        // "?" is exactly one character, a whole one outside the basic plane too.
        WildcardCase{"?.mp3", "a.mp3", true}, WildcardCase{"?.mp3", "ab.mp3", false},
        WildcardCase{"?.mp3", ".mp3", false}, WildcardCase{"?.mp3", "\xF0\x9F\x8E\xB5.mp3", true},
        // A "*" gives back what a later literal needs.
        WildcardCase{"*a", "banana", true}, WildcardCase{"a*b*c", "aXXbYYc", true},
        WildcardCase{"a*b*c", "aXXbYY", false}, WildcardCase{"*b*", "abc", true},
        WildcardCase{"**.mp3", "x.mp3", true}, WildcardCase{"song.mp3", "song.mp3", true},
        WildcardCase{"song.mp3", "song.mp4", false}));

}  // namespace
}  // namespace mirelune

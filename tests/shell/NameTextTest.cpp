// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/NameText.h"

#include <gtest/gtest.h>

#include <QByteArray>

namespace mirelune {
namespace {

// Each name is carried as text without loss and shown so that it names one
// file only: quoted only when it holds a control character or a byte that is
// not UTF-8.
TEST(NameText, CarriesEveryNameWholeAndShowsOddOnesQuoted) {
    const struct {
        const char* what;
        QByteArray raw;
        const char* shown;  // UTF-8
        bool stray;         // holds a byte that is not UTF-8
    } cases[] = {
        {"plain ASCII", "song.mp3", "song.mp3", false},
        {"valid UTF-8", "caf\xC3\xA9 \xF0\x9F\x8E\xB5", "caf\xC3\xA9 \xF0\x9F\x8E\xB5", false},
        {"a backslash or quote alone", "a\\x\"E9.mp3", "a\\x\"E9.mp3", false},
        {"a Latin-1 byte", "caf\xE9.mp3", "\"caf\\xE9.mp3\"", true},
        {"a lone continuation byte", "a\x80z", "\"a\\x80z\"", true},
        {"a sequence cut short", "a\xE2\x82", "\"a\\xE2\\x82\"", true},
        {"a cut sequence before valid text", "\xE2\x82\xC3\xA9", "\"\\xE2\\x82\xC3\xA9\"", true},
        {"an overlong form", "\xC0\xAF", "\"\\xC0\\xAF\"", true},
        {"an overlong 3-byte form", "\xE0\x80\xAF", "\"\\xE0\\x80\\xAF\"", true},
        {"an overlong 4-byte form", "\xF0\x80\x80\xAF", "\"\\xF0\\x80\\x80\\xAF\"", true},
        {"an encoded surrogate", "\xED\xA0\x80", "\"\\xED\\xA0\\x80\"", true},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", "\"\\xF4\\x90\\x80\\x80\"", true},
        {"the highest code point", "\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF", false},
        {"bytes that are never UTF-8", "\xFE\xFF", "\"\\xFE\\xFF\"", true},
        {"a terminal escape", "a\x1B[31m.mp3", "\"a\\x1B[31m.mp3\"", false},
        {"a line break and a delete", "a\nb\x7F", "\"a\\x0Ab\\x7F\"", false},
        {"a C1 control", "a\xC2\x85z", "\"a\\u0085z\"", false},
        {"a stray byte beside a 4-byte character", "\xF0\x9F\x8E\xB5\xE9\\\"",
         "\"\xF0\x9F\x8E\xB5\\xE9\\\\\\\"\"", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString name = EscapedNativeName(c.raw);
        EXPECT_EQ(ShownPath(name), QString::fromUtf8(c.shown));
        EXPECT_EQ(NativeNameBytes(name), c.raw);
        EXPECT_EQ(HoldsStrayBytes(name), c.stray);
    }
}

}  // namespace
}  // namespace mirelune

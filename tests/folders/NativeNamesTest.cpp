// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/NativeNames.h"

#include <gtest/gtest.h>

#include <QByteArray>

namespace mirelune {
namespace {

TEST(ShownName, ValidTextAsItIsEachOtherByteAsItsHexCode) {
    const struct {
        const char* what;
        QByteArray raw;
        const char* shown;  // UTF-8
    } cases[] = {
        {"plain ASCII", "song.mp3", "song.mp3"},
        {"valid UTF-8", "caf\xC3\xA9 \xF0\x9F\x8E\xB5", "caf\xC3\xA9 \xF0\x9F\x8E\xB5"},
        {"a Latin-1 byte", "caf\xE9.mp3", "caf\\xE9.mp3"},
        {"a lone continuation byte", "a\x80z", "a\\x80z"},
        {"a sequence cut short", "a\xE2\x82", "a\\xE2\\x82"},
        {"a cut sequence before valid text", "\xE2\x82\xC3\xA9", "\\xE2\\x82\xC3\xA9"},
        {"an overlong form", "\xC0\xAF", "\\xC0\\xAF"},
        {"an encoded surrogate", "\xED\xA0\x80", "\\xED\\xA0\\x80"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},
        {"the highest code point", "\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},
        {"bytes that are never UTF-8", "\xFE\xFF", "\\xFE\\xFF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ShownName(c.raw), QString::fromUtf8(c.shown));
    }
}

}  // namespace
}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/EncoderCommand.h"

#include <gtest/gtest.h>

namespace mirelune {
namespace {

// Each word as a POSIX shell reads it back: the line can be pasted and run.
TEST(EncoderCommandText, QuotesEachWordForAShell) {
    const struct {
        const char* source;
        const char* quoted;
    } cases[] = {
        {"/music/song-1_a.mp3", "/music/song-1_a.mp3"},
        {"/m/$(touch x) $HOME.mp3", "'/m/$(touch x) $HOME.mp3'"},
        {"/m/$HOME.mp3", "'/m/$HOME.mp3'"},
        {"/m/it's `x` \"a\".mp3", "'/m/it'\\''s `x` \"a\".mp3'"},
        {"/m/a\x1b[31mb.mp3", "'/m/a'\"$(printf '\\033')\"'[31mb.mp3'"},
        {"/m/two\nlines.mp3", "'/m/two\nlines.mp3'"},
        {"", "''"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        EXPECT_EQ(EncoderCommandText({.encoderPath = QStringLiteral("/tmp/mirelune-ab12/lame"),
                                      .kbps = 128,
                                      .source = QString::fromUtf8(c.source),
                                      .output = QStringLiteral("/o/a b.mp3")}),
                  QStringLiteral("/tmp/mirelune-ab12/lame -h -m s -b 128 ") +
                      QString::fromUtf8(c.quoted) + QStringLiteral(" '/o/a b.mp3'"));
    }
}

TEST(MakeEncoderCommand, HandsTheSameArgumentsOverAsAList) {
    const QString source = QStringLiteral("/music/it's \"a\" $(song).mp3");
    const EncoderCommand command = MakeEncoderCommand({.encoderPath = QStringLiteral("/tmp/x/lame"),
                                                       .kbps = 320,
                                                       .source = source,
                                                       .output = QStringLiteral("/o/a b.mp3")});
    EXPECT_EQ(command.program, QStringLiteral("/tmp/x/lame"));
    EXPECT_EQ(command.arguments, QStringList({"-h", "-m", "s", "-b", "320", source, "/o/a b.mp3"}));
}

}  // namespace
}  // namespace mirelune

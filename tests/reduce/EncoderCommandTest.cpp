// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/EncoderCommand.h"

#include <gtest/gtest.h>

namespace mirelune {
namespace {

TEST(EncoderCommandText, QuotesEachPathAsItIs) {
    EXPECT_EQ(
        EncoderCommandText(QStringLiteral("/tmp/mirelune-ab12/lame"), 128,
                           QStringLiteral("/music/song.mp3"), QStringLiteral("/out/song.mp3")),
        QStringLiteral("\"/tmp/mirelune-ab12/lame\" -h -m s -b 128 \"/music/song.mp3\" "
                       "\"/out/song.mp3\""));
    // Nothing inside the quotes is escaped: the text is for reading only.
    EXPECT_EQ(EncoderCommandText(QStringLiteral("e"), 32, QStringLiteral("/a \"b\"/$x.mp3"),
                                 QStringLiteral("o")),
              QStringLiteral("\"e\" -h -m s -b 32 \"/a \"b\"/$x.mp3\" \"o\""));
}

TEST(MakeEncoderCommand, HandsTheSameArgumentsOverAsAList) {
    const QString source = QStringLiteral("/music/it's \"a\" $(song).mp3");
    const EncoderCommand command = MakeEncoderCommand(QStringLiteral("/tmp/x/lame"), 320, source,
                                                      QStringLiteral("/o/a b.mp3"));
    EXPECT_EQ(command.program, QStringLiteral("/tmp/x/lame"));
    EXPECT_EQ(command.arguments, QStringList({"-h", "-m", "s", "-b", "320", source, "/o/a b.mp3"}));
}

}  // namespace
}  // namespace mirelune

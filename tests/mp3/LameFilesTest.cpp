// SPDX-License-Identifier: GPL-3.0-or-later
// Real files from the LAME encoder, made on the spot from a generated tone:
// the analysis must describe them as the encoder made them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "mp3/MP3Info.h"
#include "support/ScratchDir.h"

namespace mirelune::mp3 {
namespace {

std::string Lame() {
    const char* configured = std::getenv("MIRELUNE_TEST_LAME");
    return configured != nullptr && *configured != '\0' ? configured : "lame";
}

class LameFilesTest : public ::testing::Test {
  protected:
    // A tone of the given length, rate and channels, encoded with lameArgs.
    std::string Encode(const std::string& name, const std::string& lameArgs, int rate = 44100,
                       int channels = 2, double seconds = 3.0) {
        const std::string wav = dir.file(name + ".wav");
        const std::string mp3 = dir.file(name + ".mp3");
        const std::string tone = std::string(MIRELUNE_MAKE_TONE) + " '" + wav + "' " +
                                 std::to_string(seconds) + " " + std::to_string(rate) + " " +
                                 std::to_string(channels);
        EXPECT_EQ(std::system(tone.c_str()), 0);
        const std::string encode = Lame() + " --quiet " + lameArgs + " '" + wav + "' '" + mp3 + "'";
        EXPECT_EQ(std::system(encode.c_str()), 0) << encode;
        return mp3;
    }

    test::ScratchDir dir;
    MP3Info info;
};

TEST_F(LameFilesTest, ConstantBitrateStereo) {
    ASSERT_TRUE(info.ReadMP3Info(Encode("cbr", "-b 192 -m s")));
    EXPECT_EQ(info.Bitrate(), 192000);
    EXPECT_FALSE(info.IsVBR());
    EXPECT_EQ(info.Samplerate(), 44100);
    EXPECT_EQ(info.Channels(), 2);
    EXPECT_EQ(info.Layer(), 3);
    EXPECT_EQ(info.MpegVersion(), 1.0f);
    EXPECT_EQ(info.FirstFrame(), 0);
    EXPECT_NEAR(info.duration(), 3000.0, 100.0);
}

TEST_F(LameFilesTest, VariableBitrateHasAnAverage) {
    ASSERT_TRUE(info.ReadMP3Info(Encode("vbr", "-V 2")));
    EXPECT_TRUE(info.IsVBR());
    EXPECT_GT(info.Bitrate(), 32000);
    EXPECT_LT(info.Bitrate(), 320000);
    EXPECT_NEAR(info.duration(), 3000.0, 100.0);
    // The Xing header's own byte count is the stream size.
    EXPECT_LE(info.MpegBytes(), info.FileSize());
}

TEST_F(LameFilesTest, Mpeg2SingleChannel) {
    ASSERT_TRUE(info.ReadMP3Info(Encode("mono", "-b 64 -m m", 22050, 1)));
    EXPECT_EQ(info.MpegVersion(), 2.0f);
    EXPECT_EQ(info.Samplerate(), 22050);
    EXPECT_EQ(info.Channels(), 1);
    EXPECT_EQ(info.Bitrate(), 64000);
    EXPECT_NEAR(info.duration(), 3000.0, 100.0);
}

TEST_F(LameFilesTest, TagsAreSkippedAndLeftOut) {
    const std::string path =
        Encode("tagged", "-b 128 --add-id3v2 --tt Title --ta Artist --pad-id3v2-size 3000");
    ASSERT_TRUE(info.ReadMP3Info(path));
    EXPECT_GT(info.FirstFrame(), 3000);
    EXPECT_EQ(info.Bitrate(), 128000);
    EXPECT_NEAR(info.duration(), 3000.0, 100.0);
}

}  // namespace
}  // namespace mirelune::mp3

// SPDX-License-Identifier: GPL-3.0-or-later
// mirelune-encoder on every layer, MPEG version and channel count: the result
// is a constant bitrate Layer III file as long as its source.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "EncoderTestSupport.h"
#include "mp3/MP3Info.h"

namespace mirelune::test {
namespace {

struct StreamCase {
    const char* name;
    // A tone made by make_sample with lameArgs, or else count hand-made
    // frames of silence: header and length.
    std::vector<std::string> lameArgs;
    Bytes header;
    std::size_t frameLength;
    int rate;
    int channels;
    int kbps;          // asked of the encoder
    int expectedKbps;  // in the result: LAME's cap for low sample rates
};

void PrintTo(const StreamCase& c, std::ostream* out) {
    *out << c.name;
}

constexpr double kToneSeconds = 2.0;
constexpr int kHandMadeFrames = 80;
constexpr long kLayer12DecoderDelay = 240 + 1;

class EncoderStreams : public ::testing::TestWithParam<StreamCase> {};

TEST_P(EncoderStreams, BecomeConstantBitrateLayer3OfTheSameLength) {
    const StreamCase& c = GetParam();
    ScratchDir dir;
    std::string source;
    long sourceSamples = 0;
    if (c.header.empty()) {
        source = ToneMp3(dir, "source.mp3", kToneSeconds, c.rate, c.channels, c.lameArgs);
        sourceSamples = static_cast<long>(kToneSeconds * c.rate);
    } else {
        source = dir.Write("source.mp3", Frames(c.header, c.frameLength, kHandMadeFrames));
        const int layer = 4 - ((c.header[1] >> 1) & 3);
        sourceSamples = kHandMadeFrames * (layer == 1 ? 384 : 1152);
    }
    const std::string result = dir.file("result.mp3");

    const ProgramRun run =
        Encode(dir, {"-h", "-m", "s", "-b", std::to_string(c.kbps), source, result});

    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "");
    mp3::MP3Info info;
    ASSERT_TRUE(info.ReadMP3Info(result));
    EXPECT_EQ(info.Layer(), 3);
    EXPECT_FALSE(info.IsVBR());
    EXPECT_EQ(info.Bitrate(), c.expectedKbps * 1000);
    EXPECT_EQ(info.Samplerate(), c.rate);
    EXPECT_EQ(info.Channels(), c.channels);
    // A tone's LAME header tells the decoder what to drop; in front of Layers
    // I and II LAME's decoder puts samples of its own, which stay dropped.
    const ResultFrames frames = ReadResultFrames(ReadAll(result), 0);
    EXPECT_EQ(frames.samples(), sourceSamples - (c.header.empty() ? 0 : kLayer12DecoderDelay));
}

// Bitrates that leave room for LAME's header frame in source and result: in
// a smaller frame LAME writes none, and the length is then known to a frame
// and a half only.
INSTANTIATE_TEST_SUITE_P(
    LayersVersionsChannels, EncoderStreams,
    ::testing::Values(
        StreamCase{"Layer3Mpeg1Stereo", {"-b", "192"}, {}, 0, 44100, 2, 128, 128},
        StreamCase{"Layer3Mpeg1Mono", {"-b", "96", "-m", "m"}, {}, 0, 32000, 1, 64, 64},
        StreamCase{"Layer3Mpeg2Stereo", {"-b", "80"}, {}, 0, 22050, 2, 64, 64},
        StreamCase{"Layer3Mpeg2Mono", {"-b", "64", "-m", "m"}, {}, 0, 16000, 1, 48, 48},
        StreamCase{"Layer3Mpeg25Stereo", {"-b", "32"}, {}, 0, 11025, 2, 32, 32},
        StreamCase{"Layer3Mpeg25MonoAboveTheCap", {"-b", "24", "-m", "m"}, {}, 0, 8000, 1, 128, 64},
        StreamCase{"Layer2Mpeg1Stereo", {}, {0xFF, 0xFD, 0xA0, 0x00}, 626, 44100, 2, 128, 128},
        StreamCase{"Layer2Mpeg1Mono", {}, {0xFF, 0xFD, 0x44, 0xC0}, 192, 48000, 1, 64, 64},
        StreamCase{"Layer2Mpeg2Stereo", {}, {0xFF, 0xF5, 0x80, 0x00}, 417, 22050, 2, 64, 64},
        StreamCase{"Layer1Mpeg1Stereo", {}, {0xFF, 0xFF, 0x40, 0x00}, 136, 44100, 2, 128, 128},
        StreamCase{"Layer1Mpeg2Mono", {}, {0xFF, 0xF7, 0x44, 0xC0}, 128, 24000, 1, 64, 64}),
    [](const ::testing::TestParamInfo<StreamCase>& info) { return info.param.name; });

// LAME's decoder does not know VBRI headers: read as sound, the frame would
// add a frame of noise or silence in front. A tag in front moves it.
TEST(EncoderStreams, AVbriHeaderFrameIsNoSound) {
    ScratchDir dir;
    const Bytes tag = Id3v2Tag(3, 0, SyncsafeSize(1000), 1000);
    Bytes plain = ReadAll(ToneMp3(dir, "plain.mp3", 1.0, 44100, 2, {"-b", "128", "-t"}));
    Bytes vbriFrame = Frame(Bytes(plain.begin(), plain.begin() + 4), 417);
    PutVbri(vbriFrame, static_cast<std::uint32_t>(plain.size()), 100);
    Bytes withVbri = tag;
    Append(withVbri, vbriFrame);
    Append(withVbri, plain);
    plain.insert(plain.begin(), tag.begin(), tag.end());
    dir.Write("plain.mp3", plain);
    const std::string vbriSource = dir.Write("vbri.mp3", withVbri);

    ASSERT_EQ(Encode(dir, {"-b", "96", dir.file("plain.mp3"), dir.file("a.mp3")}).exitCode, 0);
    ASSERT_EQ(Encode(dir, {"-b", "96", vbriSource, dir.file("b.mp3")}).exitCode, 0);

    EXPECT_EQ(ReadAll(dir.file("b.mp3")), ReadAll(dir.file("a.mp3")));
}

// Frames with the reserved emphasis value decode as if it were 0.
TEST(EncoderStreams, TheReservedEmphasisCountsAsNone) {
    ScratchDir dir;
    const std::string plain = ToneMp3(dir, "plain.mp3", 1.0, 44100, 2, {"-b", "128"});
    Bytes reserved = ReadAll(plain);
    std::size_t samples = 0;
    std::size_t frames = 0;
    for (std::size_t at = 0; const std::size_t length = FrameLength(reserved, at, &samples);
         at += length, ++frames) {
        reserved[at + 3] = static_cast<std::uint8_t>((reserved[at + 3] & ~3) | 2);
    }
    ASSERT_GT(frames, 30u);
    const std::string source = dir.Write("reserved.mp3", reserved);

    ASSERT_EQ(Encode(dir, {"-b", "96", plain, dir.file("a.mp3")}).exitCode, 0);
    const ProgramRun run = Encode(dir, {"-b", "96", source, dir.file("b.mp3")});

    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadAll(dir.file("b.mp3")), ReadAll(dir.file("a.mp3")));
}

// Debian's lame program, where it is installed, is the reference: on an
// untagged Layer III source both must write the same bytes.
TEST(EncoderStreams, WritesWhatLamesProgramWrites) {
    const std::string lame = "/usr/bin/lame";
    if (!std::filesystem::exists(lame)) {
        GTEST_SKIP() << "no " << lame << " to compare with";
    }
    const struct {
        int rate;
        int channels;
        std::vector<std::string> sourceArgs;
        const char* kbps;
    } cases[] = {
        {44100, 2, {"-b", "256"}, "128"},
        {44100, 2, {"-V", "2"}, "96"},
        {22050, 1, {"-b", "64", "-m", "m"}, "32"},
        {8000, 2, {"-b", "24"}, "16"},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        const std::string source =
            ToneMp3(dir, "source.mp3", 3.0, c.rate, c.channels, c.sourceArgs);
        SCOPED_TRACE(source + " at " + c.kbps);
        ASSERT_EQ(
            RunProgram(dir, lame,
                       {"--quiet", "-h", "-m", "s", "-b", c.kbps, source, dir.file("lame.mp3")})
                .exitCode,
            0);
        ASSERT_EQ(
            Encode(dir, {"-h", "-m", "s", "-b", c.kbps, source, dir.file("ours.mp3")}).exitCode, 0);
        EXPECT_EQ(ReadAll(dir.file("ours.mp3")), ReadAll(dir.file("lame.mp3")));
    }
}

}  // namespace
}  // namespace mirelune::test

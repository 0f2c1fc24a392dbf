// SPDX-License-Identifier: GPL-3.0-or-later
// A result's predicted size against the encoder's real result: to the byte
// where the prediction says it is exact, within its bounds elsewhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>

#include "EncoderTestSupport.h"
#include "TagBlocks.h"
#include "encoder/ResultSize.h"
#include "encoder/SourceFile.h"

namespace mirelune::test {
namespace {

using encoder::SizePrediction;

constexpr int kOfferedKbps[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};

enum class Tags { None, Around };
enum class Stream { Made, Dual, CutShort };

struct SourceCase {
    const char* name;
    int rate;
    int channels;
    std::vector<std::string> lameArgs;
    Tags tags;
    Stream stream;
    bool stereo;            // -m s for the reduction
    bool knownFrames;       // the source has a frame count in its header
    std::vector<int> kbps;  // empty: every offered bitrate
    double seconds = 0.25;
};

void PrintTo(const SourceCase& c, std::ostream* os) {
    *os << c.name;
}

// The sample rate of the MPEG audio frame at `at`.
int FrameRate(const Bytes& file, std::size_t at) {
    static const int kRates[] = {44100, 48000, 32000};
    const int version = (file[at + 1] >> 3) & 3;
    return kRates[(file[at + 2] >> 2) & 3] / (version == 3 ? 1 : version == 2 ? 2 : 4);
}

// Marks every frame dual channel: a stereo frame without joint coding has the
// same side information, so the stream stays valid.
void MakeDual(Bytes& mp3) {
    std::size_t at = 0;
    std::size_t samples = 0;
    while (const std::size_t length = FrameLength(mp3, at, &samples)) {
        mp3[at + 3] = static_cast<std::uint8_t>((mp3[at + 3] & 0x3F) | 0x80);
        at += length;
    }
}

// Exact to the byte where the prediction says so, else within its bounds.
void ExpectSize(const SizePrediction& predicted, std::uint64_t actual) {
    if (predicted.exact) {
        EXPECT_EQ(predicted.bytes, actual);
    } else {
        EXPECT_LE(predicted.low, actual);
        EXPECT_GE(predicted.high, actual);
    }
}

std::string MakeSource(const ScratchDir& dir, const SourceCase& c) {
    Bytes audio = ReadAll(ToneMp3(dir, "made.mp3", c.seconds, c.rate, c.channels, c.lameArgs));
    if (c.stream == Stream::Dual) {
        MakeDual(audio);
    }
    if (c.stream == Stream::CutShort) {
        audio.resize(audio.size() - 5000);
    }
    Bytes source;
    if (c.tags == Tags::Around) {
        source = Id3v2Tag(3, 0, SyncsafeSize(300), 300);
    }
    Append(source, audio);
    if (c.tags == Tags::Around) {
        Append(source, Id3v24WithFooter());
        Append(source, ApeTag("Mirelune APE"));
        Append(source, Lyrics3v2("Mirelune lyrics"));
        Append(source, Id3v1Tag());
    }
    return dir.Write("source.mp3", source);
}

struct FactsCase {
    const char* name;
    encoder::SourceFacts facts;
    int kbps;
    SizePrediction expected;
};

void PrintTo(const FactsCase& c, std::ostream* os) {
    *os << c.name;
}

encoder::SourceFacts Facts(int rate, int frames, int padding, std::size_t audioBytes) {
    encoder::SourceFacts facts;
    facts.sampleRate = rate;
    facts.channels = 2;
    facts.kbps = 128;
    facts.samplesPerFrame = 1152;
    facts.headerFrames = frames;
    facts.encoderDelay = frames > 0 ? 576 : 0;
    facts.encoderPadding = padding;
    facts.audioBytes = audioBytes;
    facts.id3v2Bytes = 10;
    facts.trailingBytes = 128;
    return facts;
}

class PredictionsFromFacts : public ::testing::TestWithParam<FactsCase> {};

// Worked by hand from LAME's rules, at the edges where a sample more or less
// changes the count of frames.
TEST_P(PredictionsFromFacts, FollowLamesRules) {
    const FactsCase& c = GetParam();

    const std::optional<SizePrediction> predicted =
        encoder::PredictResultSize(c.facts, c.kbps, true);

    ASSERT_TRUE(predicted.has_value());
    EXPECT_EQ(predicted->bytes, c.expected.bytes);
    EXPECT_EQ(predicted->exact, c.expected.exact);
    EXPECT_EQ(predicted->low, c.expected.low);
    EXPECT_EQ(predicted->high, c.expected.high);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, PredictionsFromFacts,
    ::testing::Values(
        // 1152 * 3 - 576 - 576 = 2304 samples, whole frames: LAME pads exactly
        // 576 and adds no frame. 384 bytes of Info frame, 3 * 384 of audio.
        FactsCase{"PaddingOfExactly576", Facts(48000, 3, 576, 0), 128, {1674, true, 1674, 1674}},
        // 12 * 1152 - 576 - 1604 = 11644 samples become 6329 at 24 kHz (the
        // last one made rounds up) plus 8 of the resampler's flush: 6913 =
        // 12 * 576 + 1, so 14 frames of 192 bytes, and a frame either side.
        FactsCase{"ResampledRoundingUp", Facts(44100, 12, 1604, 0), 64, {3018, false, 2826, 3210}},
        // 4430 bytes hold 10.6 frames of 417.96 bytes: 11, within 2 either
        // side; 11 * 1152 - 529 samples make 12 frames, of which 11 padded.
        FactsCase{"FramesFromBytes", Facts(44100, 0, 0, 4430), 128, {5570, false, 4734, 6406}}),
    [](const ::testing::TestParamInfo<FactsCase>& info) { return std::string(info.param.name); });

class ResultSizes : public ::testing::TestWithParam<SourceCase> {};

TEST_P(ResultSizes, MatchTheEncodersResult) {
    const SourceCase& c = GetParam();
    ScratchDir dir;
    const std::string source = MakeSource(dir, c);
    const encoder::SourceFacts facts = encoder::ReadSourceFacts(encoder::SourceFile(source));
    std::vector<int> bitrates = c.kbps;
    if (bitrates.empty()) {
        bitrates.assign(std::begin(kOfferedKbps), std::end(kOfferedKbps));
    }
    const std::size_t head = c.tags == Tags::Around ? 310 : 0;
    long largestError = 0;
    for (const int kbps : bitrates) {
        SCOPED_TRACE(std::to_string(kbps) + " kbps");
        const std::string result = dir.file("result.mp3");
        std::vector<std::string> args = {"-h", "-b", std::to_string(kbps), source, result};
        if (c.stereo) {
            args.insert(args.begin() + 1, {"-m", "s"});
        }
        const ProgramRun run = Encode(dir, args);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const Bytes out = ReadAll(result);
        const auto actual = static_cast<std::uint64_t>(out.size());
        const bool resampled = FrameRate(out, head) != c.rate;

        const std::optional<SizePrediction> predicted =
            encoder::PredictResultSize(facts, kbps, c.stereo);

        ASSERT_TRUE(predicted.has_value());
        EXPECT_EQ(predicted->exact, c.knownFrames && !resampled);
        ExpectSize(*predicted, actual);
        largestError = std::max(largestError, std::abs(static_cast<long>(predicted->bytes) -
                                                       static_cast<long>(actual)));
    }
    std::cout << c.name << ": largest error " << largestError << " bytes\n";
}

// Every input rate and channel count at every offered bitrate, as the
// program asks (-h -m s): every decision LAME makes about rate, version
// and bitrate. Then joint stereo, a dual-channel source, sources without a
// frame count, a VBR source, and tags of every kind.
constexpr auto kMade = Stream::Made;
constexpr auto kNone = Tags::None;

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Sources, ResultSizes,
    ::testing::Values(
        //         name               rate  ch  source's LAME arguments tags       stream  -m s  count  kbps
        SourceCase{"Mpeg25Mono8k",    8000,  1, {"-b", "32"},            kNone,       kMade, true, true, {}},
        SourceCase{"Mpeg25Stereo8k",  8000,  2, {"-b", "32"},            kNone,       kMade, true, true, {}},
        SourceCase{"Mpeg25Mono11k",   11025, 1, {"-b", "32"},            kNone,       kMade, true, true, {}},
        SourceCase{"Mpeg25Stereo11k", 11025, 2, {"-b", "32"},            kNone,       kMade, true, true, {}},
        SourceCase{"Mpeg25Mono12k",   12000, 1, {"-b", "32"},            kNone,       kMade, true, true, {}},
        SourceCase{"Mpeg25Stereo12k", 12000, 2, {"-b", "32"},            kNone,       kMade, true, true, {}},
        SourceCase{"Mpeg2Mono16k",    16000, 1, {"-b", "64"},            kNone,       kMade, true, true, {}},
        SourceCase{"Mpeg2Stereo16k",  16000, 2, {"-b", "64"},            kNone,       kMade, true, true, {}},
        SourceCase{"Mpeg2Mono22k",    22050, 1, {"-b", "64"},            kNone,       kMade, true, true, {}},
        SourceCase{"Mpeg2Stereo22k",  22050, 2, {"-b", "64"},            kNone,       kMade, true, true, {}},
        SourceCase{"Mpeg2Mono24k",    24000, 1, {"-b", "64"},            kNone,       kMade, true, true, {}},
        SourceCase{"Mpeg2Stereo24k",  24000, 2, {"-b", "64"},            kNone,       kMade, true, true, {}},
        SourceCase{"Mpeg1Mono32k",    32000, 1, {"-b", "128"},           kNone,       kMade, true, true, {}},
        SourceCase{"Mpeg1Stereo32k",  32000, 2, {"-b", "128"},           kNone,       kMade, true, true, {}},
        SourceCase{"Mpeg1Mono44k",    44100, 1, {"-b", "128"},           kNone,       kMade, true, true, {}},
        SourceCase{"Mpeg1Stereo44k",  44100, 2, {"-b", "128"},           kNone,       kMade, true, true, {}},
        SourceCase{"Mpeg1Mono48k",    48000, 1, {"-b", "128"},           kNone,       kMade, true, true, {}},
        SourceCase{"Mpeg1Stereo48k",  48000, 2, {"-b", "128"},           kNone,       kMade, true, true, {}},
        SourceCase{"JointStereo",     44100, 2, {"-b", "128", "-m", "j"}, kNone,      kMade, false, true, {32, 64, 128, 320}},
        SourceCase{"JointStereoMono", 22050, 1, {"-b", "64"},            kNone,       kMade, false, true, {32, 64, 320}},
        SourceCase{"DualChannel",     48000, 2, {"-b", "192", "-m", "s"}, kNone,      Stream::Dual, true, true, {48, 128, 320}},
        SourceCase{"NoInfoFrame44k",  44100, 2, {"-b", "128", "-t"},     kNone,       kMade, true, false, {32, 96, 128, 320}, 2.0},
        SourceCase{"NoInfoFrame8k",   8000,  1, {"-b", "24", "-t"},      kNone,       kMade, true, false, {32, 64}, 2.0},
        SourceCase{"CutShort",        44100, 2, {"-b", "128"},           kNone,       Stream::CutShort, true, false, {64, 128}, 1.0},
        SourceCase{"VbrCutShort",     44100, 2, {"-V", "2"},             kNone,       Stream::CutShort, true, false, {128}, 2.0},
        SourceCase{"Vbr",             44100, 2, {"-V", "2"},             kNone,       kMade, true, true, {32, 128, 320}, 2.0},
        SourceCase{"TagsOfEveryKind", 44100, 2, {"-b", "128"},           Tags::Around, kMade, true, true, {32, 128, 320}},
        SourceCase{"TagsWithoutInfoFrame", 24000, 2, {"-b", "64", "-t"}, Tags::Around, kMade, true, false, {32, 64, 160}}),
    [](const ::testing::TestParamInfo<SourceCase>& info) { return std::string(info.param.name); });
// clang-format on

// Streams no LAME made, without a frame count: Layers I and II (the decoder's
// own delay trimmed) and a VBRI header frame, 80 frames of silence each.
TEST(ResultSize, OfStreamsWithoutAFrameCountIsWithinItsBounds) {
    Bytes vbri = Frame(kMpeg1L3At128, 417);
    PutVbri(vbri, 81 * 417, 80);
    struct HandMade {
        const char* name;
        Bytes first;
        Bytes header;
        std::size_t frameLength;
        int kbps;
    };
    const HandMade cases[] = {
        {"Layer2Mpeg1Stereo", {}, {0xFF, 0xFD, 0xA0, 0x00}, 626, 128},
        {"Layer2Mpeg2Stereo", {}, {0xFF, 0xF5, 0x80, 0x00}, 417, 32},
        {"Layer1Mpeg2Mono", {}, {0xFF, 0xF7, 0x44, 0xC0}, 128, 64},
        {"VbriHeaderFrame", vbri, kMpeg1L3At128, 417, 96},
    };
    ScratchDir dir;
    for (const HandMade& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes stream = c.first;
        Append(stream, Frames(c.header, c.frameLength, 80));
        const std::string source = dir.Write("source.mp3", stream);
        const std::string result = dir.file("result.mp3");
        ASSERT_EQ(
            Encode(dir, {"-h", "-m", "s", "-b", std::to_string(c.kbps), source, result}).exitCode,
            0);
        const auto predicted = encoder::PredictResultSize(
            encoder::ReadSourceFacts(encoder::SourceFile(source)), c.kbps, true);
        ASSERT_TRUE(predicted.has_value());
        EXPECT_FALSE(predicted->exact);
        ExpectSize(*predicted, static_cast<std::uint64_t>(ReadAll(result).size()));
    }
}

// The example files the program ships, at a bitrate that resamples, one
// that keeps the rate, and the highest.
TEST(ResultSize, OfTheSampleFilesMatchesTheEncodersResult) {
    ScratchDir dir;
    for (const auto& entry : std::filesystem::directory_iterator(MIRELUNE_SAMPLES_DIR)) {
        SCOPED_TRACE(entry.path().filename().string());
        const std::string source = entry.path().string();
        const encoder::SourceFacts facts = encoder::ReadSourceFacts(encoder::SourceFile(source));
        for (const int kbps : {32, 128, 320}) {
            const std::string result = dir.file("result.mp3");
            ASSERT_EQ(
                Encode(dir, {"-h", "-m", "s", "-b", std::to_string(kbps), source, result}).exitCode,
                0);
            const auto actual = static_cast<std::uint64_t>(ReadAll(result).size());
            const auto predicted = encoder::PredictResultSize(facts, kbps, true);
            ASSERT_TRUE(predicted.has_value());
            SCOPED_TRACE(std::to_string(kbps) + " kbps");
            ExpectSize(*predicted, actual);
        }
    }
}

}  // namespace
}  // namespace mirelune::test

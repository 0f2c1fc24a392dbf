// SPDX-License-Identifier: GPL-3.0-or-later
// What LAME's decoder takes from a Xing or Info header: the frame count,
// and the encoder delay and padding only beside a frame count; and whether
// the file holds the frames its header counts.
#include <gtest/gtest.h>

#include "SourceInMemory.h"
#include "encoder/SourceFacts.h"
#include "support/Mp3Bytes.h"

namespace mirelune::test {
namespace {

struct XingCase {
    const char* name;
    Bytes header;
    std::size_t xingAt;
    std::uint32_t flags;
    std::size_t delayAt;
    Bytes delayBytes;
    bool found;
    int frames;
    int delay;
    int padding;
    std::size_t bytes;
};

void PrintTo(const XingCase& c, std::ostream* os) {
    *os << c.name;
}

const Bytes kMpeg1Crc = {0xFF, 0xFA, 0x90, 0x64};
const Bytes kMpeg2Mono = {0xFF, 0xF3, 0x80, 0xC4};
const Bytes kMpeg1Layer2 = {0xFF, 0xFD, 0x90, 0x64};
// 576 samples of delay, 1224 of padding, in LAME's 12-bit fields.
const Bytes kDelay576Padding1224 = {0x24, 0x04, 0xC8};

class DecoderXingFields : public ::testing::TestWithParam<XingCase> {};

TEST_P(DecoderXingFields, AreReadAsLamesDecoderReadsThem) {
    const XingCase& c = GetParam();
    Bytes frame = Frame(c.header, 418);
    PutXing(frame, c.xingAt, "Info", c.flags, 100, 41800);
    std::copy(c.delayBytes.begin(), c.delayBytes.end(),
              frame.begin() + static_cast<std::ptrdiff_t>(c.delayAt));

    const encoder::DecoderXingFields fields =
        encoder::ReadDecoderXingFields(frame.data(), frame.size());

    EXPECT_EQ(fields.found, c.found);
    EXPECT_EQ(fields.frames, c.frames);
    EXPECT_EQ(fields.encoderDelay, c.delay);
    EXPECT_EQ(fields.encoderPadding, c.padding);
    EXPECT_EQ(fields.bytes, c.bytes);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Headers, DecoderXingFields,
    ::testing::Values(
        //       name                     header         at  flags delayAt delay bytes      found frames delay padding bytes
        XingCase{"FramesOnly",            kMpeg1L3At128, 36, 0x1, 69,  kDelay576Padding1224, true,  100, 576, 1224, 0},
        XingCase{"EveryField",            kMpeg1L3At128, 36, 0xF, 177, kDelay576Padding1224, true,  100, 576, 1224, 41800},
        XingCase{"NoFrameCount",          kMpeg1L3At128, 36, 0x2, 69,  kDelay576Padding1224, true,  0,   0,   0,    41800},
        XingCase{"ImplausibleDelay",      kMpeg1L3At128, 36, 0x1, 69,  {0xBC, 0x20, 0x00},   true,  100, -1,  0,    0},
        XingCase{"ImplausiblePadding",    kMpeg1L3At128, 36, 0x1, 69,  {0x24, 0x0B, 0xB9},   true,  100, 576, -1,   0},
        XingCase{"CrcIgnored",            kMpeg1Crc,     36, 0x1, 69,  kDelay576Padding1224, true,  100, 576, 1224, 0},
        XingCase{"Mpeg2Mono",             kMpeg2Mono,    13, 0x1, 46,  kDelay576Padding1224, true,  100, 576, 1224, 0},
        XingCase{"NotAtTheMpeg2MonoPlace", kMpeg2Mono,   21, 0x1, 54,  kDelay576Padding1224, false, 0,   0,   0,    0},
        XingCase{"LayerII",               kMpeg1Layer2,  36, 0x1, 69,  kDelay576Padding1224, false, 0,   0,   0,    0}),
    [](const ::testing::TestParamInfo<XingCase>& info) { return std::string(info.param.name); });
// clang-format on

// A stream whose Info header counts 10 frames of 417 bytes (4170 bytes with
// the header frame), followed by `frames` frames.
Bytes InfoStream(std::uint32_t flags, int frames) {
    Bytes info = Frame(kMpeg1L3At128, 417);
    PutXing(info, 36, "Info", flags, 10, 4170);
    return Joined({info, Frames(kMpeg1L3At128, 417, frames)});
}

struct FactsFromHeaderCase {
    const char* name;
    Bytes stream;
    int headerFrames;
    int scaledFrames;
};

void PrintTo(const FactsFromHeaderCase& c, std::ostream* os) {
    *os << c.name;
}

class SourceFactsFromHeaders : public ::testing::TestWithParam<FactsFromHeaderCase> {};

TEST_P(SourceFactsFromHeaders, TrustTheCountOnlyWhereTheBytesAreThere) {
    const FactsFromHeaderCase& c = GetParam();

    const encoder::SourceFacts facts = encoder::ReadSourceFacts(InMemory(c.stream));

    EXPECT_EQ(facts.headerFrames, c.headerFrames);
    EXPECT_EQ(facts.scaledFrames, c.scaledFrames);
    EXPECT_EQ(facts.audioBytes, c.stream.size() - 417);
}

INSTANTIATE_TEST_SUITE_P(Streams, SourceFactsFromHeaders,
                         ::testing::Values(FactsFromHeaderCase{"Whole", InfoStream(3, 9), 10, 0},
                                           // 10 frames * 2502 / 3753 bytes of audio.
                                           FactsFromHeaderCase{"CutShort", InfoStream(3, 6), 0, 6},
                                           FactsFromHeaderCase{"CutShortWithoutAByteCount",
                                                               InfoStream(1, 6), 10, 0}),
                         [](const ::testing::TestParamInfo<FactsFromHeaderCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace mirelune::test

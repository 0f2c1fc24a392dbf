// SPDX-License-Identifier: GPL-3.0-or-later
#include "mp3/FrameHeader.h"

#include <gtest/gtest.h>

#include "mp3/Bitstream.h"

namespace mirelune::mp3 {
namespace {

FrameHeader Decode(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
    Bitstream bits;
    return DecodeFrameHeader({b0, b1, b2, b3}, bits);
}

TEST(FrameHeader, DecodesEveryField) {
    // 1111 1111 | 111 11 01 0 | 1110 01 1 1 | 01 10 1 0 11
    const FrameHeader h = Decode(0xFF, 0xFA, 0xE7, 0x6B);
    EXPECT_EQ(h.VersionIndex, 3);
    EXPECT_EQ(h.LayerIndex, 1);
    EXPECT_FALSE(h.ProtectionBit);
    EXPECT_EQ(h.BitrateIndex, 14);
    EXPECT_EQ(h.SampleRateIndex, 1);
    EXPECT_TRUE(h.Padding);
    EXPECT_TRUE(h.Private);
    EXPECT_EQ(h.ChannelMode, 1);
    EXPECT_EQ(h.ModeExtension, 2);
    EXPECT_TRUE(h.Copyright);
    EXPECT_FALSE(h.Original);
    EXPECT_EQ(h.EmphasisIndex, 3);
    EXPECT_EQ(HeaderBitrate(h), 320000);
    EXPECT_EQ(HeaderSamplerate(h), 48000);
    EXPECT_EQ(LayerNumber(h), 3);
    EXPECT_EQ(MpegVersionNumber(h), 1.0f);
}

TEST(FrameHeader, ValidityRules) {
    struct Case {
        std::uint8_t b1, b2, b3;
        bool valid;
        const char* why;
    };
    const Case cases[] = {
        {0xFB, 0x90, 0x64, true, "MPEG 1 Layer III 128 kbps"},
        {0xEB, 0x90, 0x64, false, "reserved version"},
        {0xF9, 0x90, 0x64, false, "reserved layer"},
        {0xFB, 0x00, 0x64, false, "free-format bitrate index 0"},
        {0xFB, 0xF0, 0x64, false, "bitrate index 15"},
        {0xFB, 0x9C, 0x64, false, "sample rate index 3"},
        {0xDB, 0x90, 0x64, false, "sync bits incomplete"},
        {0xE3, 0x10, 0x00, true, "MPEG 2.5 Layer III 8 kbps"},
        // MPEG 1 Layer II: low bitrates only in single channel, high ones never.
        {0xFD, 0x10, 0x00, false, "Layer II 32 kbps stereo"},
        {0xFD, 0x10, 0xC0, true, "Layer II 32 kbps single channel"},
        {0xFD, 0x50, 0x40, false, "Layer II 80 kbps joint stereo"},
        {0xFD, 0x60, 0x80, true, "Layer II 96 kbps dual channel"},
        {0xFD, 0x60, 0xC0, true, "Layer II 96 kbps single channel"},
        {0xFD, 0xB0, 0xC0, false, "Layer II 224 kbps single channel"},
        {0xFD, 0xE0, 0x00, true, "Layer II 384 kbps stereo"},
        {0xF5, 0x10, 0x00, true, "MPEG 2 Layer II 8 kbps stereo: rule is MPEG 1 only"},
        {0xFF, 0x10, 0x00, true, "MPEG 1 Layer I 32 kbps stereo"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsValidHeader(Decode(0xFF, c.b1, c.b2, c.b3)), c.valid) << c.why;
    }
    EXPECT_FALSE(IsValidHeader(Decode(0xFE, 0xFB, 0x90, 0x64))) << "first byte not FF";
}

TEST(FrameHeader, LengthSamplesAndSideInfo) {
    struct Case {
        std::uint8_t b1, b2, b3;
        int length, samples, sideInfo;
        const char* what;
    };
    const Case cases[] = {
        {0xFB, 0x90, 0x64, 417, 1152, 32, "MPEG 1 L3 128k 44.1k stereo"},
        {0xFB, 0x92, 0x64, 418, 1152, 32, "same, padded"},
        {0xFB, 0x90, 0xC4, 417, 1152, 17, "same, single channel"},
        {0xF3, 0x10, 0x00, 26, 576, 17, "MPEG 2 L3 8k 22.05k"},
        {0xF3, 0x18, 0xC0, 36, 576, 9, "MPEG 2 L3 8k 16k single channel"},
        {0xE3, 0x18, 0x00, 72, 576, 17, "MPEG 2.5 L3 8k 8k"},
        {0xFF, 0x14, 0x00, 32, 384, 32, "MPEG 1 L1 32k 48k: 8 slots of 4 bytes"},
        {0xFF, 0x16, 0x00, 36, 384, 32, "same, padded: one more slot"},
        {0xF5, 0xE8, 0x00, 1440, 1152, 17, "MPEG 2 L2 160k 16k"},
        {0xF5, 0xEA, 0x00, 1441, 1152, 17, "same, padded"},
        {0xFD, 0xE4, 0x00, 1152, 1152, 32, "MPEG 1 L2 384k 48k"},
    };
    for (const Case& c : cases) {
        const FrameHeader h = Decode(0xFF, c.b1, c.b2, c.b3);
        EXPECT_EQ(FrameLength(h), c.length) << c.what;
        EXPECT_EQ(SamplesPerFrame(h), c.samples) << c.what;
        EXPECT_EQ(SideInfoSize(h), c.sideInfo) << c.what;
    }
}

TEST(FrameHeader, ReservedFieldsGiveZeros) {
    const FrameHeader reservedVersion = Decode(0xFF, 0xEB, 0x90, 0x64);
    EXPECT_EQ(FrameLength(reservedVersion), 0);
    EXPECT_EQ(SamplesPerFrame(reservedVersion), 0);
    EXPECT_EQ(SideInfoSize(reservedVersion), 0);
    EXPECT_EQ(HeaderSamplerate(reservedVersion), 0);
    EXPECT_EQ(MpegVersionNumber(reservedVersion), 0.0f);
    const FrameHeader reservedLayer = Decode(0xFF, 0xF9, 0x90, 0x64);
    EXPECT_EQ(LayerNumber(reservedLayer), 0);
    EXPECT_EQ(HeaderBitrate(reservedLayer), 0);
}

}  // namespace
}  // namespace mirelune::mp3

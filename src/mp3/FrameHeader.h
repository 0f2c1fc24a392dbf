// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

namespace mirelune::mp3 {

class Bitstream;

// The channel mode of a one-channel stream.
inline constexpr std::int32_t kSingleChannelMode = 3;

// The decoded four bytes of one MPEG audio frame header.
struct FrameHeader {
    std::array<std::uint8_t, 4> bytes{};
    std::int32_t ChannelMode = 0;   // 0 stereo, 1 joint, 2 dual, 3 single channel
    std::int32_t LayerIndex = 0;    // 1 = Layer III, 2 = II, 3 = I, 0 reserved
    std::int32_t VersionIndex = 0;  // 0 = MPEG 2.5, 1 reserved, 2 = MPEG 2, 3 = MPEG 1
    std::int32_t SampleRateIndex = 0;
    std::int32_t BitrateIndex = 0;
    bool Copyright = false;
    bool Original = false;
    bool Private = false;
    bool ProtectionBit = false;
    bool Padding = false;
    std::int32_t EmphasisIndex = 0;
    std::int32_t ModeExtension = 0;
};

// Splits the four header bytes into fields with the bit reader.
FrameHeader DecodeFrameHeader(const std::array<std::uint8_t, 4>& bytes, Bitstream& reader);

bool IsValidHeader(const FrameHeader& h);
std::int32_t HeaderBitrate(const FrameHeader& h);  // bits per second, 0 when reserved
std::int32_t HeaderSamplerate(const FrameHeader& h);
std::int32_t SamplesPerFrame(const FrameHeader& h);
std::int32_t SideInfoSize(const FrameHeader& h);
std::int32_t FrameLength(const FrameHeader& h);
std::int32_t LayerNumber(const FrameHeader& h);  // 1, 2, 3, or 0 when reserved
float MpegVersionNumber(const FrameHeader& h);   // 1, 2, 2.5, or 0 when reserved

}  // namespace mirelune::mp3

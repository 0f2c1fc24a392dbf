// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace mirelune::encoder {

// The four bytes in front of every MPEG audio frame, decoded.
struct MpegHeader {
    enum class Version { Mpeg1, Mpeg2, Mpeg25 };
    Version version = Version::Mpeg1;
    int layer = 3;
    int kbps = 0;
    int sampleRate = 0;
    int channels = 2;
    bool crc = false;
    std::size_t frameBytes = 0;
    int samplesPerFrame = 0;
};

// Why the four bytes at `bytes` are no frame header this encoder takes, in
// words for a message; nullptr when they are one.
const char* HeaderFault(const std::uint8_t* bytes);

// Nothing for bytes that are no frame header, and for free-format frames,
// whose length cannot be told from the header.
std::optional<MpegHeader> ParseMpegHeader(const std::uint8_t* bytes);

// Frames of one stream agree on these; a chance sync pattern seldom does.
bool SameStream(const MpegHeader& a, const MpegHeader& b);

// Where a Xing or Info header sits in a Layer III frame: after the header,
// the CRC and the side information.
std::size_t XingOffset(const MpegHeader& header);

}  // namespace mirelune::encoder

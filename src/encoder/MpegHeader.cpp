// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/MpegHeader.h"

namespace mirelune::encoder {
namespace {

// kbps by [low sample rate family][layer - 1][bitrate index].
constexpr int kKbps[2][3][15] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}},
};

constexpr int kSampleRates[3][3] = {
    {44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};

}  // namespace

const char* HeaderFault(const std::uint8_t* bytes) {
    if (bytes[0] != 0xFF || (bytes[1] & 0xE0) != 0xE0) {
        return "no frame sync";
    }
    const int versionBits = (bytes[1] >> 3) & 3;
    const int layerBits = (bytes[1] >> 1) & 3;
    const int bitrateIndex = bytes[2] >> 4;
    if (versionBits == 1) {
        return "the reserved MPEG version";
    }
    if (layerBits == 0) {
        return "the reserved layer";
    }
    if (bitrateIndex == 0) {
        return "a free-format bitrate";
    }
    if (bitrateIndex == 15) {
        return "the reserved bitrate";
    }
    if (((bytes[2] >> 2) & 3) == 3) {
        return "the reserved sample rate";
    }
    // MPEG-2.5 extends Layer III only; no decoder takes Layers I and II in it.
    if (versionBits == 0 && layerBits != 1) {
        return "Layer I or II in MPEG-2.5";
    }
    return nullptr;
}

std::optional<MpegHeader> ParseMpegHeader(const std::uint8_t* bytes) {
    // The reserved emphasis value is no reason to refuse a frame: emphasis
    // changes nothing the decoder does.
    if (HeaderFault(bytes)) {
        return std::nullopt;
    }
    const int versionBits = (bytes[1] >> 3) & 3;
    const int bitrateIndex = bytes[2] >> 4;
    const int rateIndex = (bytes[2] >> 2) & 3;
    MpegHeader header;
    header.version = versionBits == 3   ? MpegHeader::Version::Mpeg1
                     : versionBits == 2 ? MpegHeader::Version::Mpeg2
                                        : MpegHeader::Version::Mpeg25;
    const bool lowRates = header.version != MpegHeader::Version::Mpeg1;
    header.layer = 4 - ((bytes[1] >> 1) & 3);
    header.kbps = kKbps[lowRates][header.layer - 1][bitrateIndex];
    header.sampleRate = kSampleRates[static_cast<int>(header.version)][rateIndex];
    header.channels = (bytes[3] >> 6) == 3 ? 1 : 2;
    header.crc = (bytes[1] & 1) == 0;
    const std::size_t padding = (bytes[2] >> 1) & 1;
    const std::size_t bitsPerSecond = static_cast<std::size_t>(header.kbps) * 1000;
    const auto rate = static_cast<std::size_t>(header.sampleRate);
    if (header.layer == 1) {
        header.samplesPerFrame = 384;
        header.frameBytes = (12 * bitsPerSecond / rate + padding) * 4;
    } else if (header.layer == 2 || !lowRates) {
        header.samplesPerFrame = 1152;
        header.frameBytes = 144 * bitsPerSecond / rate + padding;
    } else {
        header.samplesPerFrame = 576;
        header.frameBytes = 72 * bitsPerSecond / rate + padding;
    }
    return header;
}

bool SameStream(const MpegHeader& a, const MpegHeader& b) {
    return a.version == b.version && a.layer == b.layer && a.sampleRate == b.sampleRate;
}

std::size_t XingOffset(const MpegHeader& header) {
    const bool mono = header.channels == 1;
    const std::size_t sideInfo =
        header.version == MpegHeader::Version::Mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    return 4 + (header.crc ? 2 : 0) + sideInfo;
}

}  // namespace mirelune::encoder

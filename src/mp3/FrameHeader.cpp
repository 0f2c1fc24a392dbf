// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrameHeader.h"

#include <cmath>

#include "Bitstream.h"

namespace mirelune::mp3 {
namespace {

constexpr int kMpeg25 = 0;
constexpr int kMpeg2 = 2;
constexpr int kMpeg1 = 3;
constexpr int kLayer3 = 1;
constexpr int kLayer2 = 2;
constexpr int kLayer1 = 3;

constexpr std::int32_t kBitrates[5][15] = {
    // MPEG 1: Layer I, II, III
    {0, 32000, 64000, 96000, 128000, 160000, 192000, 224000, 256000, 288000, 320000, 352000, 384000,
     416000, 448000},
    {0, 32000, 48000, 56000, 64000, 80000, 96000, 112000, 128000, 160000, 192000, 224000, 256000,
     320000, 384000},
    {0, 32000, 40000, 48000, 56000, 64000, 80000, 96000, 112000, 128000, 160000, 192000, 224000,
     256000, 320000},
    // MPEG 2 and 2.5: Layer I, then Layers II and III
    {0, 32000, 48000, 56000, 64000, 80000, 96000, 112000, 128000, 144000, 160000, 176000, 192000,
     224000, 256000},
    {0, 8000, 16000, 24000, 32000, 40000, 48000, 56000, 64000, 80000, 96000, 112000, 128000, 144000,
     160000},
};

constexpr std::int32_t kSamplerates[4][3] = {
    {11025, 12000, 8000},   // MPEG 2.5
    {0, 0, 0},              // reserved
    {22050, 24000, 16000},  // MPEG 2
    {44100, 48000, 32000},  // MPEG 1
};

bool IsReservedVersion(const FrameHeader& h) {
    return h.VersionIndex == 1 || h.VersionIndex < 0 || h.VersionIndex > 3;
}

bool IsReservedLayer(const FrameHeader& h) {
    return h.LayerIndex < 1 || h.LayerIndex > 3;
}

}  // namespace

FrameHeader DecodeFrameHeader(const std::array<std::uint8_t, 4>& bytes, Bitstream& reader) {
    FrameHeader h;
    h.bytes = bytes;
    reader.SetData(bytes.data(), bytes.size(), 0, 4);
    reader.SkipBits(11);
    h.VersionIndex = reader.ReadBits(2);
    h.LayerIndex = reader.ReadBits(2);
    h.ProtectionBit = reader.ReadBits(1) == 1;
    h.BitrateIndex = reader.ReadBits(4);
    h.SampleRateIndex = reader.ReadBits(2);
    h.Padding = reader.ReadBits(1) == 1;
    h.Private = reader.ReadBits(1) == 1;
    h.ChannelMode = reader.ReadBits(2);
    h.ModeExtension = reader.ReadBits(2);
    h.Copyright = reader.ReadBits(1) == 1;
    h.Original = reader.ReadBits(1) == 1;
    h.EmphasisIndex = reader.ReadBits(2);
    return h;
}

std::int32_t HeaderBitrate(const FrameHeader& h) {
    if (IsReservedVersion(h) || IsReservedLayer(h) || h.BitrateIndex < 1 || h.BitrateIndex > 14) {
        return 0;
    }
    int row;
    if (h.VersionIndex == kMpeg1) {
        row = h.LayerIndex == kLayer1 ? 0 : h.LayerIndex == kLayer2 ? 1 : 2;
    } else {
        row = h.LayerIndex == kLayer1 ? 3 : 4;
    }
    return kBitrates[row][h.BitrateIndex];
}

std::int32_t HeaderSamplerate(const FrameHeader& h) {
    if (IsReservedVersion(h) || h.SampleRateIndex < 0 || h.SampleRateIndex > 2) {
        return 0;
    }
    return kSamplerates[h.VersionIndex][h.SampleRateIndex];
}

std::int32_t SamplesPerFrame(const FrameHeader& h) {
    if (IsReservedVersion(h) || IsReservedLayer(h)) {
        return 0;
    }
    if (h.LayerIndex == kLayer1) {
        return 384;
    }
    if (h.LayerIndex == kLayer2) {
        return 1152;
    }
    return h.VersionIndex == kMpeg1 ? 1152 : 576;
}

std::int32_t SideInfoSize(const FrameHeader& h) {
    const bool mono = h.ChannelMode == kSingleChannelMode;
    if (h.VersionIndex == kMpeg1) {
        return mono ? 17 : 32;
    }
    if (h.VersionIndex == kMpeg2 || h.VersionIndex == kMpeg25) {
        return mono ? 9 : 17;
    }
    return 0;
}

std::int32_t LayerNumber(const FrameHeader& h) {
    switch (h.LayerIndex) {
        case kLayer3:
            return 3;
        case kLayer2:
            return 2;
        case kLayer1:
            return 1;
        default:
            return 0;
    }
}

float MpegVersionNumber(const FrameHeader& h) {
    switch (h.VersionIndex) {
        case kMpeg1:
            return 1.0f;
        case kMpeg2:
            return 2.0f;
        case kMpeg25:
            return 2.5f;
        default:
            return 0.0f;
    }
}

bool IsValidHeader(const FrameHeader& h) {
    if (h.bytes[0] != 0xFF || (h.bytes[1] & 0xE0) != 0xE0 || h.VersionIndex == 1 ||
        h.LayerIndex == 0 || h.BitrateIndex == 0 || h.BitrateIndex == 15 ||
        h.SampleRateIndex == 3) {
        return false;
    }
    if (h.VersionIndex == kMpeg1 && h.LayerIndex == kLayer2) {
        // Layer II allows only some bitrate and channel-mode pairs.
        const std::int32_t kbps = HeaderBitrate(h) / 1000;
        const bool mono = h.ChannelMode == kSingleChannelMode;
        switch (kbps) {
            case 32:
            case 48:
            case 56:
            case 80:
                return mono;
            case 224:
            case 256:
            case 320:
            case 384:
                return !mono;
            default:
                break;
        }
    }
    return true;
}

std::int32_t FrameLength(const FrameHeader& h) {
    if (IsReservedVersion(h) || IsReservedLayer(h)) {
        return 0;
    }
    const double bitrate = HeaderBitrate(h);
    const double rate = HeaderSamplerate(h);
    const double pad = h.Padding ? 1.0 : 0.0;
    if (rate == 0.0) {
        return 0;
    }
    if (h.LayerIndex == kLayer1) {
        return static_cast<std::int32_t>(std::trunc(12.0 * bitrate / rate + pad)) * 4;
    }
    if (h.LayerIndex == kLayer3 && h.VersionIndex != kMpeg1) {
        return static_cast<std::int32_t>(std::trunc(72.0 * bitrate / rate + pad));
    }
    return static_cast<std::int32_t>(std::trunc(144.0 * bitrate / rate + pad));
}

}  // namespace mirelune::mp3

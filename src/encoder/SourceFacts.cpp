// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/SourceFacts.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "encoder/SourceFile.h"
#include "encoder/StreamStart.h"
#include "encoder/TagLayout.h"

namespace mirelune::encoder {
namespace {

// How much of the first frame LAME's decoder looks at for the header.
constexpr std::size_t kDecoderXingBytes = 194;
constexpr int kFramesFlag = 0x1;
constexpr int kBytesFlag = 0x2;
constexpr int kTocFlag = 0x4;
constexpr int kScaleFlag = 0x8;
constexpr std::size_t kTocBytes = 100;
// From the end of the Xing fields to LAME's delay and padding.
constexpr std::size_t kLameDelayOffset = 21;
// Larger values mean the bytes are no LAME extension (an old Xing header).
constexpr int kMostPlausibleDelay = 3000;

int BigEndian32(const unsigned char* bytes) {
    return static_cast<int>(static_cast<std::uint32_t>(bytes[0]) << 24 |
                            static_cast<std::uint32_t>(bytes[1]) << 16 |
                            static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3]);
}

}  // namespace

DecoderXingFields ReadDecoderXingFields(const unsigned char* frame, std::size_t size) {
    std::array<unsigned char, kDecoderXingBytes> bytes{};
    std::memcpy(bytes.data(), frame, std::min(size, bytes.size()));
    DecoderXingFields fields;
    const bool layer3 = ((bytes[1] >> 1) & 3) == 1;
    if (!layer3) {
        return fields;
    }
    const bool mpeg1 = (bytes[1] >> 3) & 1;
    const bool mono = (bytes[3] >> 6) == 3;
    std::size_t at = mpeg1 ? (mono ? 21 : 36) : (mono ? 13 : 21);
    if (std::memcmp(&bytes[at], "Xing", 4) != 0 && std::memcmp(&bytes[at], "Info", 4) != 0) {
        return fields;
    }
    fields.found = true;
    at += 4;
    const int flags = BigEndian32(&bytes[at]);
    at += 4;
    int frames = 0;
    if (flags & kFramesFlag) {
        frames = BigEndian32(&bytes[at]);
        at += 4;
    }
    if (flags & kBytesFlag) {
        fields.bytes = static_cast<std::uint32_t>(BigEndian32(&bytes[at]));
        at += 4;
    }
    at += (flags & kTocFlag) ? kTocBytes : 0;
    at += (flags & kScaleFlag) ? 4 : 0;
    at += kLameDelayOffset;
    // The decoder passes delay and padding on only with a frame count.
    if (frames > 0) {
        fields.frames = frames;
        const int delay = bytes[at] << 4 | bytes[at + 1] >> 4;
        const int padding = (bytes[at + 1] & 0x0F) << 8 | bytes[at + 2];
        fields.encoderDelay = delay > kMostPlausibleDelay ? -1 : delay;
        fields.encoderPadding = padding > kMostPlausibleDelay ? -1 : padding;
    }
    return fields;
}

SourceFacts ReadSourceFacts(const SourceFile& file) {
    const TagLayout tags = LocateTags(file);
    const StreamStart start = FindStreamStart(file, tags.audio);
    SourceFacts facts;
    facts.layer = start.header.layer;
    facts.sampleRate = start.header.sampleRate;
    facts.channels = start.header.channels;
    facts.kbps = start.header.kbps;
    facts.samplesPerFrame = start.header.samplesPerFrame;
    facts.id3v2Bytes = tags.id3v2.size;
    facts.trailingBytes = tags.trailing.size;
    std::size_t first = start.offset;
    if (start.skipFirstFrame) {
        first += start.header.frameBytes;
    } else {
        const Bytes frame = file.read({first, kDecoderXingBytes});
        const DecoderXingFields xing = ReadDecoderXingFields(frame.data(), frame.size());
        if (xing.found) {
            // LAME's decoder reads the header frame and makes no sound of it.
            first += start.header.frameBytes;
            facts.headerFrames = xing.frames;
            const std::size_t stream = tags.audio.end() - start.offset;
            if (xing.bytes > stream && xing.bytes > start.header.frameBytes) {
                // Cut short: the decoder ends where the bytes do.
                facts.headerFrames = 0;
                facts.scaledFrames =
                    static_cast<int>(static_cast<double>(xing.frames) *
                                     static_cast<double>(stream - start.header.frameBytes) /
                                     static_cast<double>(xing.bytes - start.header.frameBytes));
            }
            facts.encoderDelay = xing.encoderDelay;
            facts.encoderPadding = xing.encoderPadding;
        }
    }
    facts.audioBytes = tags.audio.end() > first ? tags.audio.end() - first : 0;
    return facts;
}

}  // namespace mirelune::encoder

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Builders for hand-made MPEG audio byte streams: frame headers, frames with
// Xing, Info or VBRI headers, ID3v2 and ID3v1 tags. Only the structures the
// analysis looks at are real; audio payload is zeros.

#include <cstdint>
#include <string>
#include <vector>

namespace mirelune::test {

using Bytes = std::vector<std::uint8_t>;

// MPEG-1 Layer III, 128 kbps, 44100 Hz, stereo, no CRC, original: 417 bytes.
inline const Bytes kMpeg1L3At128 = {0xFF, 0xFB, 0x90, 0x64};
// The same with the padding bit: 418 bytes.
inline const Bytes kMpeg1L3At128Padded = {0xFF, 0xFB, 0x92, 0x64};

inline void Append(Bytes& to, const Bytes& more) {
    to.insert(to.end(), more.begin(), more.end());
}

inline void AppendZeros(Bytes& to, std::size_t count) {
    to.insert(to.end(), count, 0);
}

inline void AppendText(Bytes& to, const std::string& text) {
    to.insert(to.end(), text.begin(), text.end());
}

inline void PutBigEndian(Bytes& to, std::size_t at, std::uint32_t value, int width) {
    if (to.size() < at + static_cast<std::size_t>(width)) {
        to.resize(at + static_cast<std::size_t>(width), 0);
    }
    for (int k = 0; k < width; ++k) {
        to[at + static_cast<std::size_t>(k)] =
            static_cast<std::uint8_t>(value >> (8 * (width - 1 - k)));
    }
}

// A frame of the given length that starts with header; the rest is zeros.
inline Bytes Frame(const Bytes& header, std::size_t length) {
    Bytes frame(header);
    frame.resize(length, 0);
    return frame;
}

// count frames of the same header and length, back to back.
inline Bytes Frames(const Bytes& header, std::size_t length, int count) {
    Bytes out;
    for (int i = 0; i < count; ++i) {
        Append(out, Frame(header, length));
    }
    return out;
}

// Writes a Xing or Info header with identifier id at index at of frame.
inline void PutXing(Bytes& frame, std::size_t at, const std::string& id, std::uint32_t flags,
                    std::uint32_t frames, std::uint32_t bytes) {
    for (std::size_t k = 0; k < 4; ++k) {
        frame[at + k] = static_cast<std::uint8_t>(id[k]);
    }
    PutBigEndian(frame, at + 4, flags, 4);
    std::size_t pos = at + 8;
    if (flags & 1u) {
        PutBigEndian(frame, pos, frames, 4);
        pos += 4;
    }
    if (flags & 2u) {
        PutBigEndian(frame, pos, bytes, 4);
    }
}

// Writes a VBRI header at index 36 of frame.
inline void PutVbri(Bytes& frame, std::uint32_t bytes, std::uint32_t frames) {
    const std::string id = "VBRI";
    for (std::size_t k = 0; k < 4; ++k) {
        frame[36 + k] = static_cast<std::uint8_t>(id[k]);
    }
    PutBigEndian(frame, 40, 1, 2);      // version
    PutBigEndian(frame, 42, 0, 2);      // delay
    PutBigEndian(frame, 44, 75, 2);     // quality
    PutBigEndian(frame, 46, bytes, 4);  // stream bytes
    PutBigEndian(frame, 50, frames, 4);
    PutBigEndian(frame, 54, 0, 2);  // table entries
    PutBigEndian(frame, 56, 1, 2);  // scale
    PutBigEndian(frame, 58, 2, 2);  // entry size
    PutBigEndian(frame, 60, 1, 2);  // frames per entry
}

// An ID3v2 tag header with the four raw size bytes, followed by bodyLength zeros.
inline Bytes Id3v2Tag(std::uint8_t major, std::uint8_t flags, const Bytes& sizeBytes,
                      std::size_t bodyLength) {
    Bytes tag;
    AppendText(tag, "ID3");
    tag.push_back(major);
    tag.push_back(0);
    tag.push_back(flags);
    Append(tag, sizeBytes);
    AppendZeros(tag, bodyLength);
    return tag;
}

inline Bytes SyncsafeSize(std::uint32_t size) {
    return {static_cast<std::uint8_t>((size >> 21) & 0x7F),
            static_cast<std::uint8_t>((size >> 14) & 0x7F),
            static_cast<std::uint8_t>((size >> 7) & 0x7F), static_cast<std::uint8_t>(size & 0x7F)};
}

// A 128-byte ID3v1 tag that starts with the given three-letter marker.
inline Bytes Id3v1Tag(const std::string& marker = "TAG") {
    Bytes tag;
    AppendText(tag, marker);
    AppendText(tag, "Title");
    tag.resize(128, 0);
    return tag;
}

}  // namespace mirelune::test

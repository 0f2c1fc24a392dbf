// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Tag blocks made by hand for the encoder's tests, beside the ID3v2 and
// ID3v1 builders of Mp3Bytes.h.

#include <cstdio>
#include <string>

#include "support/Mp3Bytes.h"

namespace mirelune::test {

inline void PutLittleEndian(Bytes& to, std::uint32_t value) {
    for (int k = 0; k < 4; ++k) {
        to.push_back(static_cast<std::uint8_t>(value >> (8 * k)));
    }
}

// An APEv2 tag with one Title item: 26 bytes of item for a 12-letter title,
// the 32-byte footer, and when asked a 32-byte header.
inline Bytes ApeTag(const std::string& title, bool withHeader = true) {
    Bytes item;
    PutLittleEndian(item, static_cast<std::uint32_t>(title.size()));
    PutLittleEndian(item, 0);
    AppendText(item, "Title");
    item.push_back(0);
    AppendText(item, title);
    const auto block = [&](std::uint32_t flags) {
        Bytes b;
        AppendText(b, "APETAGEX");
        PutLittleEndian(b, 2000);
        PutLittleEndian(b, static_cast<std::uint32_t>(item.size() + 32));
        PutLittleEndian(b, 1);
        PutLittleEndian(b, flags);
        AppendZeros(b, 8);
        return b;
    };
    const std::uint32_t headerPresent = withHeader ? 0x80000000u : 0;
    Bytes tag = withHeader ? block(headerPresent | 0x20000000u) : Bytes();
    Append(tag, item);
    Append(tag, block(headerPresent));
    return tag;
}

// A Lyrics3v2 block with one lyrics field: 34 bytes and 15 letters of lyrics.
inline Bytes Lyrics3v2(const std::string& lyrics) {
    Bytes block;
    AppendText(block, "LYRICSBEGIN");
    AppendText(block, "LYR");
    char size[8];
    std::snprintf(size, sizeof size, "%05zu", lyrics.size());
    AppendText(block, size);
    AppendText(block, lyrics);
    std::snprintf(size, sizeof size, "%06zu", block.size());
    AppendText(block, size);
    AppendText(block, "LYRICS200");
    return block;
}

// An ID3v2.4 tag with one text frame and a footer, which its size leaves
// out: 37 bytes.
inline Bytes Id3v24WithFooter() {
    Bytes frame;
    AppendText(frame, "TIT2");
    Append(frame, SyncsafeSize(7));
    AppendZeros(frame, 2);
    frame.push_back(3);
    AppendText(frame, "Footer");
    Bytes tag = Id3v2Tag(4, 0x10, SyncsafeSize(static_cast<std::uint32_t>(frame.size())), 0);
    Append(tag, frame);
    Bytes footer = Id3v2Tag(4, 0x10, SyncsafeSize(static_cast<std::uint32_t>(frame.size())), 0);
    footer[0] = '3';
    footer[1] = 'D';
    footer[2] = 'I';
    Append(tag, footer);
    return tag;
}

}  // namespace mirelune::test

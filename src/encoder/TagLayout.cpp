// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/TagLayout.h"

#include <algorithm>
#include <cstring>

#include "encoder/SourceFile.h"

namespace mirelune::encoder {
namespace {

constexpr std::size_t kId3v2HeaderBytes = 10;
constexpr std::size_t kId3v1Bytes = 128;
constexpr std::size_t kApeFooterBytes = 32;
// A Lyrics3v2 block ends in its size, six digits, and "LYRICS200".
constexpr std::size_t kLyricsSizeDigits = 6;
constexpr std::size_t kLyricsEndBytes = kLyricsSizeDigits + 9;

bool HasText(const Bytes& bytes, std::size_t at, const char* text) {
    const std::size_t length = std::strlen(text);
    return at + length <= bytes.size() && std::memcmp(bytes.data() + at, text, length) == 0;
}

bool HasTextAt(const SourceFile& file, std::size_t at, const char* text) {
    return HasText(file.read({at, std::strlen(text)}), 0, text);
}

std::uint32_t LittleEndian32(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// The length an ID3v2 header or footer (`id` is "ID3" or "3DI") gives its
// tag, both included, or 0 when the ten bytes are none. Only version 2.4
// knows the footer flag; in older tags that bit means nothing.
std::size_t Id3v2TagBytes(const Bytes& header, const char* id) {
    if (header.size() < kId3v2HeaderBytes || !HasText(header, 0, id) || header[3] == 0xFF ||
        header[4] == 0xFF) {
        return 0;
    }
    std::size_t body = 0;
    for (std::size_t k = 6; k < 10; ++k) {
        if (header[k] & 0x80) {
            return 0;
        }
        body = body << 7 | header[k];
    }
    const bool hasFooter = header[3] == 4 && (header[5] & 0x10) != 0;
    return kId3v2HeaderBytes + body + (hasFooter ? kId3v2HeaderBytes : 0);
}

// The APEv2 (or v1) tag whose footer ends at `end`, header included.
std::size_t ApeTagEndingAt(const SourceFile& file, std::size_t start, std::size_t end) {
    if (end < start + kApeFooterBytes) {
        return 0;
    }
    const Bytes footer = file.read({end - kApeFooterBytes, kApeFooterBytes});
    if (!HasText(footer, 0, "APETAGEX")) {
        return 0;
    }
    const std::size_t itemsAndFooter = LittleEndian32(footer, 12);
    const bool hasHeader = (LittleEndian32(footer, 20) & 0x80000000u) != 0;
    const std::size_t total = itemsAndFooter + (hasHeader ? kApeFooterBytes : 0);
    return itemsAndFooter >= kApeFooterBytes && total <= end - start ? total : 0;
}

// The Lyrics3v2 block that ends at `end`.
std::size_t LyricsEndingAt(const SourceFile& file, std::size_t start, std::size_t end) {
    if (end < start + kLyricsEndBytes) {
        return 0;
    }
    const Bytes tail = file.read({end - kLyricsEndBytes, kLyricsEndBytes});
    if (!HasText(tail, kLyricsSizeDigits, "LYRICS200")) {
        return 0;
    }
    std::size_t body = 0;
    for (std::size_t k = 0; k < kLyricsSizeDigits; ++k) {
        if (tail[k] < '0' || tail[k] > '9') {
            return 0;
        }
        body = body * 10 + (tail[k] - '0');
    }
    const std::size_t total = body + kLyricsEndBytes;
    const bool fits = total <= end - start && HasTextAt(file, end - total, "LYRICSBEGIN");
    return fits ? total : 0;
}

// The ID3v2.4 tag appended at `end`, found by its footer.
std::size_t AppendedId3v2EndingAt(const SourceFile& file, std::size_t start, std::size_t end) {
    if (end < start + 2 * kId3v2HeaderBytes) {
        return 0;
    }
    const std::size_t total =
        Id3v2TagBytes(file.read({end - kId3v2HeaderBytes, kId3v2HeaderBytes}), "3DI");
    if (total < 2 * kId3v2HeaderBytes || total > end - start) {
        return 0;
    }
    return Id3v2TagBytes(file.read({end - total, kId3v2HeaderBytes}), "ID3") == total ? total : 0;
}

}  // namespace

TagLayout LocateTags(const SourceFile& file) {
    TagLayout layout;
    // Some files carry more than one ID3v2 tag back to back; all of them
    // stay in front of the audio.
    std::size_t start = 0;
    while (const std::size_t tag = Id3v2TagBytes(file.read({start, kId3v2HeaderBytes}), "ID3")) {
        if (tag > file.size() - start) {
            // What the tag holds cannot be told from the audio; the frames
            // inside the range it claims are still found.
            layout.warning = file.path() + ": the ID3v2 tag at byte " + std::to_string(start) +
                             " claims " + std::to_string(tag) +
                             " bytes, past the end of the file;" + " it is left out";
            break;
        }
        start += tag;
    }
    layout.id3v2 = {0, start};

    const std::size_t fileEnd = file.size();
    std::size_t end = fileEnd;
    if (end >= start + kId3v1Bytes && HasTextAt(file, end - kId3v1Bytes, "TAG")) {
        end -= kId3v1Bytes;
    }
    while (const std::size_t block =
               std::max({ApeTagEndingAt(file, start, end), LyricsEndingAt(file, start, end),
                         AppendedId3v2EndingAt(file, start, end)})) {
        end -= block;
    }
    layout.audio = {start, end - start};
    layout.trailing = {end, fileEnd - end};
    return layout;
}

}  // namespace mirelune::encoder

#include "encoder/TagLayout.h"

#include <cstring>

namespace mirelune::encoder {
namespace {

constexpr std::size_t kId3v2HeaderBytes = 10;
constexpr std::size_t kId3v1Bytes = 128;
constexpr std::size_t kApeFooterBytes = 32;

bool HasText(const Bytes& file, std::size_t at, const char* text) {
    const std::size_t length = std::strlen(text);
    return at + length <= file.size() && std::memcmp(file.data() + at, text, length) == 0;
}

std::uint32_t LittleEndian32(const Bytes& file, std::size_t at) {
    return static_cast<std::uint32_t>(file[at]) | static_cast<std::uint32_t>(file[at + 1]) << 8 |
           static_cast<std::uint32_t>(file[at + 2]) << 16 |
           static_cast<std::uint32_t>(file[at + 3]) << 24;
}

// The length of the ID3v2 tag at `at`, footer included, or 0 when none
// starts there or it would run past the end of the file.
std::size_t Id3v2TagBytes(const Bytes& file, std::size_t at) {
    if (!HasText(file, at, "ID3") || at + kId3v2HeaderBytes > file.size() || file[at + 3] == 0xFF ||
        file[at + 4] == 0xFF) {
        return 0;
    }
    std::size_t body = 0;
    for (std::size_t k = 6; k < 10; ++k) {
        if (file[at + k] & 0x80) {
            return 0;
        }
        body = body << 7 | file[at + k];
    }
    const bool hasFooter = (file[at + 5] & 0x10) != 0;
    const std::size_t total = kId3v2HeaderBytes + body + (hasFooter ? kId3v2HeaderBytes : 0);
    return at + total <= file.size() ? total : 0;
}

// The APEv2 (or v1) tag whose footer ends at `end`, header included.
Span ApeTagEndingAt(const Bytes& file, std::size_t start, std::size_t end) {
    if (end < start + kApeFooterBytes) {
        return {};
    }
    const std::size_t footer = end - kApeFooterBytes;
    if (!HasText(file, footer, "APETAGEX")) {
        return {};
    }
    const std::size_t itemsAndFooter = LittleEndian32(file, footer + 12);
    const bool hasHeader = (LittleEndian32(file, footer + 20) & 0x80000000u) != 0;
    const std::size_t total = itemsAndFooter + (hasHeader ? kApeFooterBytes : 0);
    if (itemsAndFooter < kApeFooterBytes || total > end - start) {
        return {};
    }
    return {end - total, total};
}

}  // namespace

TagLayout LocateTags(const Bytes& file) {
    TagLayout layout;
    // Some files carry more than one ID3v2 tag back to back; all of them
    // stay in front of the audio.
    std::size_t start = 0;
    while (const std::size_t tag = Id3v2TagBytes(file, start)) {
        start += tag;
    }
    layout.id3v2 = {0, start};

    std::size_t end = file.size();
    if (end >= start + kId3v1Bytes && HasText(file, end - kId3v1Bytes, "TAG")) {
        layout.id3v1 = {end - kId3v1Bytes, kId3v1Bytes};
        end -= kId3v1Bytes;
    }
    layout.ape = ApeTagEndingAt(file, start, end);
    end -= layout.ape.size;
    layout.audio = {start, end - start};
    return layout;
}

}  // namespace mirelune::encoder

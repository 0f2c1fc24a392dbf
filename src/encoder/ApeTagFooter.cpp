// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/ApeTagFooter.h"

#include <cstring>

namespace mirelune::encoder {
namespace {

std::uint32_t LittleEndian32(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

}  // namespace

std::optional<ApeTagFooter> ApeTagFooter::Parse(const Bytes& bytes) {
    if (bytes.size() < kBytes || std::memcmp(bytes.data(), "APETAGEX", 8) != 0) {
        return std::nullopt;
    }
    ApeTagFooter footer;
    footer.itemsAndFooterBytes = LittleEndian32(bytes, 12);
    footer.hasHeader = (LittleEndian32(bytes, 20) & 0x80000000u) != 0;
    if (footer.itemsAndFooterBytes < kBytes) {
        return std::nullopt;
    }
    return footer;
}

}  // namespace mirelune::encoder

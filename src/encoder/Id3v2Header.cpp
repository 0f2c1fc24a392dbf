// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/Id3v2Header.h"

#include <cstring>

namespace mirelune::encoder {

std::optional<Id3v2Header> Id3v2Header::Parse(const Bytes& bytes, End end) {
    const char* id = end == End::Header ? "ID3" : "3DI";
    if (bytes.size() < kBytes || std::memcmp(bytes.data(), id, 3) != 0 || bytes[3] == 0xFF ||
        bytes[4] == 0xFF) {
        return std::nullopt;
    }
    Id3v2Header header;
    header.majorVersion = bytes[3];
    // The size is synchsafe: seven bits a byte, so no byte looks like a sync.
    for (std::size_t k = 6; k < kBytes; ++k) {
        if (bytes[k] & 0x80) {
            return std::nullopt;
        }
        header.bodyBytes = header.bodyBytes << 7 | bytes[k];
    }
    // Only version 2.4 knows the footer flag; in older tags that bit means
    // nothing.
    header.hasFooter = header.majorVersion == 4 && (bytes[5] & 0x10) != 0;
    return header;
}

}  // namespace mirelune::encoder

// SPDX-License-Identifier: GPL-3.0-or-later
#include "Id3Tags.h"

#include "CheckedMath.h"

namespace mirelune::mp3 {

std::int32_t Id3v2TagLength(const std::array<std::uint8_t, 10>& header) {
    const std::int32_t s0 = header[6];
    const std::int32_t s1 = header[7];
    const std::int32_t s2 = header[8];
    const std::int32_t s3 = header[9];
    std::int32_t size;
    if (((s0 | s1 | s2 | s3) & 0x80) == 0) {
        size = (s0 << 21) + (s1 << 14) + (s2 << 7) + s3;
    } else {
        size = checked::Narrow(std::int64_t{s0} * 16777216 + s1 * 65536 + s2 * 256 + s3,
                               "ID3v2 tag size of 2^31 or more");
    }
    std::int32_t length = checked::Add(size, 10, "ID3v2 tag length");
    const bool hasFooter = header[3] >= 4 && (header[5] & 0x10) != 0;
    if (hasFooter) {
        length = checked::Add(length, 10, "ID3v2 tag length");
    }
    return length;
}

bool IsId3v1Tag(const std::uint8_t* last128) {
    return last128[0] == 'T' && last128[1] == 'A' && last128[2] == 'G';
}

}  // namespace mirelune::mp3

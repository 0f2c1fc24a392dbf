// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/Lyrics3v2End.h"

#include <cstring>

namespace mirelune::encoder {

std::optional<Lyrics3v2End> Lyrics3v2End::Parse(const Bytes& bytes) {
    constexpr std::size_t kDigits = 6;
    if (bytes.size() < kBytes || std::memcmp(bytes.data() + kDigits, "LYRICS200", 9) != 0) {
        return std::nullopt;
    }
    std::size_t body = 0;
    for (std::size_t k = 0; k < kDigits; ++k) {
        if (bytes[k] < '0' || bytes[k] > '9') {
            return std::nullopt;
        }
        body = body * 10 + (bytes[k] - '0');
    }
    // The digits count the block up to them, not the end itself.
    return Lyrics3v2End{body + kBytes};
}

}  // namespace mirelune::encoder

// SPDX-License-Identifier: GPL-3.0-or-later
#include "BitrateText.h"

#include "CheckedMath.h"

namespace mirelune::mp3 {

std::int64_t BitrateKbps(std::int32_t bitsPerSecond) {
    return static_cast<std::int64_t>(checked::RoundHalfEven(bitsPerSecond / 1000.0));
}

std::string BitrateText(std::int32_t bitsPerSecond) {
    return std::to_string(BitrateKbps(bitsPerSecond)) + " kbps";
}

}  // namespace mirelune::mp3

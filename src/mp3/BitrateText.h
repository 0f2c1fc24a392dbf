// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace mirelune::mp3 {

// Whole kbps, rounded half to even, as the file list shows it: "128 kbps".
std::int64_t BitrateKbps(std::int32_t bitsPerSecond);
std::string BitrateText(std::int32_t bitsPerSecond);

}  // namespace mirelune::mp3

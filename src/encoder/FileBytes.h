// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mirelune::encoder {

using Bytes = std::vector<std::uint8_t>;

// The whole file. MP3 files are small next to memory, and holding all of it
// lets the tags at both ends be found and copied without a second pass.
Bytes ReadFileBytes(const std::string& path);

// A part of a file: where it starts and how long it is.
struct Span {
    std::size_t offset = 0;
    std::size_t size = 0;
    std::size_t end() const { return offset + size; }
};

}  // namespace mirelune::encoder

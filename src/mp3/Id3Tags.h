// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

namespace mirelune::mp3 {

// Total length of an ID3v2 tag (header, body and footer) from its 10-byte
// header. A size that is not syncsafe is read as a plain big-endian number.
std::int32_t Id3v2TagLength(const std::array<std::uint8_t, 10>& header);

// Whether the last 128 bytes of a file are an ID3v1 tag.
bool IsId3v1Tag(const std::uint8_t* last128);

}  // namespace mirelune::mp3

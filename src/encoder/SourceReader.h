// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

namespace mirelune::encoder {

// Where a source's bytes come from: a file, or memory in tests.
class SourceReader {
  public:
    virtual ~SourceReader() = default;

    virtual std::size_t size() const = 0;
    // Fills `into` from offset on; returns how many bytes there were, fewer
    // only at the end. Throws EncoderFailure.
    virtual std::size_t readAt(std::size_t offset, std::uint8_t* into, std::size_t size) const = 0;
};

}  // namespace mirelune::encoder

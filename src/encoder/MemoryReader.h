// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "encoder/FileBytes.h"
#include "encoder/SourceReader.h"

namespace mirelune::encoder {

// A source held in memory: what the encoder's parts are tested on.
class MemoryReader : public SourceReader {
  public:
    explicit MemoryReader(Bytes bytes) : bytes_(std::move(bytes)) {}

    std::size_t size() const override { return bytes_.size(); }
    std::size_t readAt(std::size_t offset, std::uint8_t* into, std::size_t size) const override;

  private:
    Bytes bytes_;
};

}  // namespace mirelune::encoder

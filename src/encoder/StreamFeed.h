// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

#include "encoder/FileBytes.h"
#include "encoder/MpegHeader.h"
#include "encoder/SourceFile.h"

namespace mirelune::encoder {

// A stream handed to the decoder in the portions it asks for, read from the
// file a large block at a time. Frames whose header has the reserved
// emphasis value are handed out with emphasis 0: the decoder would refuse
// them, and emphasis changes nothing it does.
class StreamFeed {
  public:
    // audio: the stream from its first frame on, whose header is `first`.
    StreamFeed(const SourceFile& file, Span audio, const MpegHeader& first);

    // The next `wanted` bytes of the stream, fewer at its end; their count
    // is in `got`. They stay valid until the next call.
    std::uint8_t* take(std::size_t wanted, std::size_t& got);

  private:
    void fill(std::size_t end);
    void clearReservedEmphasis(std::size_t end);

    const SourceFile& file_;
    Span audio_;
    MpegHeader first_;
    std::size_t position_;  // in the file, as all offsets here
    // What has been read of the file, from bufferStart_ on.
    Bytes buffer_;
    std::size_t bufferStart_;
    std::size_t nextHeader_;  // where the next frame's header is due
};

}  // namespace mirelune::encoder

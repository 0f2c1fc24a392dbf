// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "encoder/FileBytes.h"
#include "encoder/MpegHeader.h"

namespace mirelune::encoder {

class SourceFile;

// The first frame of a source's audio, and whether the decoder must not see
// it: a frame that only carries a VBRI header (LAME's decoder knows Xing and
// Info headers in Layer III frames only and would decode any other as sound).
struct StreamStart {
    std::size_t offset = 0;
    MpegHeader header;
    bool skipFirstFrame = false;
};

// Throws EncoderFailure naming the file, and what it holds instead, when the
// audio holds no MPEG audio.
StreamStart FindStreamStart(const SourceFile& file, Span audio);

}  // namespace mirelune::encoder

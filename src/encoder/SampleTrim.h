// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <vector>

#include "encoder/DecodedStream.h"

namespace mirelune::encoder {

// How many decoded samples to drop at each end of a source.
struct TrimCounts {
    std::size_t start = 0;
    std::size_t end = 0;
};

// The counts LAME's program uses when its input is MPEG audio: the encoder
// delay and padding a LAME header gives, adjusted by the decoder's own delay
// for Layer III, and the decoder's delay alone for Layers I and II.
// delayBeforeStart is what lame_get_encoder_delay says before the encoder
// starts, which LAME's program falls back on.
TrimCounts TrimForSource(int layer, const DecodedStream& stream, int delayBeforeStart);

// Drops samples at both ends of a stream that arrives a frame at a time. The
// end is known only when the stream stops, so the last `end` samples are
// always held back.
class SampleTrim {
  public:
    SampleTrim(TrimCounts counts, int channels);

    void add(const short* left, const short* right, std::size_t count);

    // The samples now known not to be among the last ones, left then right;
    // take() then drops them.
    std::size_t ready() const;
    const short* left() const { return left_.data(); }
    const short* right() const { return (channels_ == 2 ? right_ : left_).data(); }
    void take();

  private:
    std::size_t skipStart_;
    std::size_t holdBack_;
    int channels_;
    std::vector<short> left_;
    std::vector<short> right_;
};

}  // namespace mirelune::encoder

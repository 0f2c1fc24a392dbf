// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

#include "encoder/SourceFacts.h"

namespace mirelune::encoder {

// A result's size in bytes before the encoder runs. Exact when the source's
// frame count comes from its header and LAME keeps its sample rate; else an
// estimate that lies within [low, high].
struct SizePrediction {
    std::uint64_t bytes = 0;
    bool exact = false;
    std::uint64_t low = 0;
    std::uint64_t high = 0;
};

// What `-h [-m s] -b kbps` makes of the source. Nothing where LAME refuses
// the shape or the table does not hold it (the encode would fail). A decoder
// that meets damage ends the stream early: that result is smaller.
std::optional<SizePrediction> PredictResultSize(const SourceFacts& source, int kbps, bool stereo);

}  // namespace mirelune::encoder

// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/SampleTrim.h"

#include <algorithm>

namespace mirelune::encoder {
namespace {

// LAME's decoder puts out this many samples of its own before the first
// sample of a Layer III stream; for Layers I and II, this many.
constexpr int kLayer3DecoderDelay = 528 + 1;
constexpr int kLayer12DecoderDelay = 240 + 1;

std::size_t AtLeastZero(int count) {
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

}  // namespace

TrimCounts TrimForSource(int layer, const DecodedStream& stream, int delayBeforeStart) {
    if (layer != 3) {
        return {kLayer12DecoderDelay, 0};
    }
    const int delay = stream.encoderDelay;
    const int padding = stream.encoderPadding;
    if (delay < 0 && padding < 0) {
        return {AtLeastZero(delayBeforeStart + kLayer3DecoderDelay), 0};
    }
    const int start = delay > -1 ? delay + kLayer3DecoderDelay : 0;
    const int end = padding > -1 ? padding - kLayer3DecoderDelay : 0;
    return {AtLeastZero(start), AtLeastZero(end)};
}

SampleTrim::SampleTrim(TrimCounts counts, int channels)
    : skipStart_(counts.start), holdBack_(counts.end), channels_(channels) {}

void SampleTrim::add(const short* left, const short* right, std::size_t count) {
    const std::size_t skipped = std::min(skipStart_, count);
    skipStart_ -= skipped;
    left_.insert(left_.end(), left + skipped, left + count);
    if (channels_ == 2) {
        right_.insert(right_.end(), right + skipped, right + count);
    }
}

std::size_t SampleTrim::ready() const {
    return left_.size() > holdBack_ ? left_.size() - holdBack_ : 0;
}

void SampleTrim::take() {
    const auto taken = static_cast<std::ptrdiff_t>(ready());
    left_.erase(left_.begin(), left_.begin() + taken);
    if (channels_ == 2) {
        right_.erase(right_.begin(), right_.begin() + taken);
    }
}

}  // namespace mirelune::encoder

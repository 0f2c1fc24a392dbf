// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/LameDecision.h"

#include <algorithm>
#include <iterator>
#include <tuple>

namespace mirelune::encoder {
namespace {

using Version = MpegHeader::Version;

// Sorted by input rate, channels, -m s and bitrate.
constexpr LameDecision kDecisions[] = {
#include "LameDecisionTable.inc"
};

constexpr auto Key(const LameDecision& d) {
    return std::make_tuple(d.inRate, d.channels, d.stereo, d.kbps);
}

}  // namespace

std::optional<LameDecision> FindLameDecision(int inRate, int channels, bool stereo, int kbps) {
    LameDecision wanted;
    wanted.inRate = inRate;
    wanted.channels = channels;
    wanted.stereo = stereo;
    wanted.kbps = kbps;
    const auto* found = std::lower_bound(
        std::begin(kDecisions), std::end(kDecisions), wanted,
        [](const LameDecision& a, const LameDecision& b) { return Key(a) < Key(b); });
    if (found == std::end(kDecisions) || Key(*found) != Key(wanted)) {
        return std::nullopt;
    }
    return *found;
}

}  // namespace mirelune::encoder

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "encoder/MpegHeader.h"

namespace mirelune::encoder {

// What LAME makes of one input shape and one `-h [-m s] -b KBPS`, as LAME
// itself answered when the build asked it (lame_decisions writes the table).
struct LameDecision {
    int inRate = 0;
    int channels = 0;
    bool stereo = false;  // -m s
    int kbps = 0;         // as asked
    bool accepted = false;
    int outRate = 0;
    int outKbps = 0;  // LAME moves a bitrate its output version lacks
    MpegHeader::Version version = MpegHeader::Version::Mpeg1;
    int channelMode = 0;  // as in a frame header: 0 stereo, 1 joint, 3 mono
    int frameSamples = 0;
    int encoderDelay = 0;
    // What lame_get_encoder_delay says before the encoder starts, which the
    // trim of a source without a LAME header falls back on.
    int delayBeforeStart = 0;
    int infoFrameBytes = 0;  // 0: LAME writes no Info frame
};

// Nothing for a shape or bitrate outside the table: the table covers the
// sample rates MPEG audio has and the bitrates Mirelune offers.
std::optional<LameDecision> FindLameDecision(int inRate, int channels, bool stereo, int kbps);

}  // namespace mirelune::encoder

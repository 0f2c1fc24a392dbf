// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace mirelune::encoder {

// What the decoder learnt from the first frame, and from a Xing or Info
// header when the stream starts with one.
struct DecodedStream {
    int channels = 0;
    int sampleRate = 0;
    int kbps = 0;
    int samplesPerFrame = 0;
    int totalFrames = 0;        // from a Xing or Info header; 0 when unknown
    unsigned long samples = 0;  // totalFrames * samplesPerFrame
    // Left as LAME's program starts them (0) unless a Xing or Info header
    // sets them; a Xing header without LAME's extension sets -1.
    int encoderDelay = 0;
    int encoderPadding = 0;
};

}  // namespace mirelune::encoder

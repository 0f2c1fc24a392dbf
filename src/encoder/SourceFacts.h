// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace mirelune::encoder {

class SourceFile;

// What a result's size depends on in its source, as the encoder will see
// it: the stream's shape, what LAME's decoder takes from a Xing or Info
// header, and the tags the encoder copies byte for byte.
struct SourceFacts {
    int layer = 3;
    int sampleRate = 0;
    int channels = 0;
    int kbps = 0;  // of the first frame
    int samplesPerFrame = 0;
    // From a Layer III Xing or Info header as LAME's decoder reads it; the
    // delay and padding stay 0 without a frame count, as they do there, and
    // are -1 where the header holds no plausible value.
    int headerFrames = 0;  // 0: unknown, or the file is shorter than the header says
    // For a file cut short: the header's count scaled to the bytes that are
    // there. 0 otherwise.
    int scaledFrames = 0;
    int encoderDelay = 0;
    int encoderPadding = 0;
    // From the first frame the decoder turns into sound to the audio's end.
    std::size_t audioBytes = 0;
    std::size_t id3v2Bytes = 0;
    std::size_t trailingBytes = 0;
};

// Reads the tags' headers and footers and the first frame only. Throws
// EncoderFailure where the encoder would refuse the source.
SourceFacts ReadSourceFacts(const SourceFile& file);

// What LAME's decoder reads of a Xing or Info header in the first frame,
// whose bytes start at `frame` (fewer than a frame's worth are read as
// zeros). LAME's decoder ignores a CRC here, and so does this.
struct DecoderXingFields {
    bool found = false;
    int frames = 0;         // 0 when the header gives none
    std::size_t bytes = 0;  // the stream's, Info frame included; 0 when not given
    int encoderDelay = 0;
    int encoderPadding = 0;
};
DecoderXingFields ReadDecoderXingFields(const unsigned char* frame, std::size_t size);

}  // namespace mirelune::encoder

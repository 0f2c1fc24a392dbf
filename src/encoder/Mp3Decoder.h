// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <lame/lame.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "encoder/DecodedStream.h"
#include "encoder/FileBytes.h"
#include "encoder/MpegHeader.h"
#include "encoder/SourceFile.h"
#include "encoder/StreamFeed.h"

namespace mirelune::encoder {

// LAME's own MPEG audio decoder over a stream read from its file, fed in the
// same portions LAME's program reads, so that what it decodes matches that
// program sample for sample.
class Mp3Decoder {
  public:
    // audio: the stream from its first frame on, whose header is `first`.
    Mp3Decoder(const SourceFile& file, Span audio, const MpegHeader& first);
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    // Reads up to the first frame header. Throws EncoderFailure.
    DecodedStream readHeader();

    // Decodes the next frame into left and right (1152 samples each at
    // most); returns the number of samples, 0 at the end of the stream.
    int decodeFrame(short* left, short* right);

    // The channels and sample rate of the frame decodeFrame returned last.
    int channels() const { return info_.stereo; }
    int sampleRate() const { return info_.samplerate; }

  private:
    struct Exit {
        void operator()(hip_t hip) const { hip_decode_exit(hip); }
    };

    std::unique_ptr<hip_global_flags, Exit> hip_;
    const SourceFile& file_;
    Span audio_;
    StreamFeed feed_;
    mp3data_struct info_{};
    bool ended_ = false;
};

}  // namespace mirelune::encoder

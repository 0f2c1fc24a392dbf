// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <lame/lame.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "encoder/FileBytes.h"
#include "encoder/MpegHeader.h"
#include "encoder/SourceFile.h"

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

// LAME's own MPEG audio decoder over a stream read from its file, fed in the
// same portions LAME's program reads, so that what it decodes matches that
// program sample for sample. Frames whose header has the reserved emphasis
// value reach it with emphasis 0: the decoder would refuse them, and
// emphasis changes nothing it does.
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

    // The next `wanted` bytes of the stream, fewer at its end; their count
    // is in `got`.
    std::uint8_t* take(std::size_t wanted, std::size_t& got);
    void fill(std::size_t end);
    void clearReservedEmphasis(std::size_t end);

    std::unique_ptr<hip_global_flags, Exit> hip_;
    const SourceFile& file_;
    Span audio_;
    MpegHeader first_;
    std::size_t position_;  // in the file, as all offsets here
    // What has been read of the file, from bufferStart_ on.
    Bytes buffer_;
    std::size_t bufferStart_;
    std::size_t nextHeader_;  // where the next frame's header is due
    mp3data_struct info_{};
    bool ended_ = false;
};

}  // namespace mirelune::encoder

// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/Mp3Decoder.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string>

#include "encoder/EncoderFailure.h"

namespace mirelune::encoder {
namespace {

// The portions LAME's program reads: the first frame header, then small
// pieces until the decoder has parsed it, then larger ones.
constexpr std::size_t kSyncBytes = 4;
constexpr std::size_t kHeaderBytes = 100;
constexpr std::size_t kFrameBytes = 1024;
void Quiet(const char*, va_list) {}

}  // namespace

Mp3Decoder::Mp3Decoder(const SourceFile& file, Span audio, const MpegHeader& first)
    : hip_(hip_decode_init()), file_(file), audio_(audio), feed_(file, audio, first) {
    if (!hip_) {
        throw EncoderFailure("out of memory for the MPEG audio decoder");
    }
    // The decoder reports damaged frames and goes on; one line on failure is
    // all this program prints.
    hip_set_errorf(hip_.get(), &Quiet);
    hip_set_msgf(hip_.get(), &Quiet);
    hip_set_debugf(hip_.get(), &Quiet);
}

DecodedStream Mp3Decoder::readHeader() {
    DecodedStream stream;
    short left[1152];
    short right[1152];
    std::size_t got = 0;
    std::uint8_t* bytes = feed_.take(kSyncBytes, got);
    while (got > 0) {
        const int result = hip_decode1_headersB(hip_.get(), bytes, got, left, right, &info_,
                                                &stream.encoderDelay, &stream.encoderPadding);
        if (result < 0 || info_.header_parsed) {
            break;
        }
        bytes = feed_.take(kHeaderBytes, got);
    }
    if (!info_.header_parsed || info_.bitrate <= 0) {
        const Bytes header = file_.read({audio_.offset, 4});
        std::string hex;
        for (const std::uint8_t byte : header) {
            char digits[3];
            std::snprintf(digits, sizeof digits, "%02X", byte);
            if (!hex.empty()) {
                hex += ' ';
            }
            hex += digits;
        }
        throw EncoderFailure(file_.path() +
                             ": LAME's decoder reads no frame from the header at byte " +
                             std::to_string(audio_.offset) + " (" + hex + ") on");
    }
    stream.channels = info_.stereo;
    stream.sampleRate = info_.samplerate;
    stream.kbps = info_.bitrate;
    stream.samplesPerFrame = info_.framesize;
    stream.totalFrames = info_.totalframes;
    stream.samples = info_.nsamp;
    return stream;
}

int Mp3Decoder::decodeFrame(short* left, short* right) {
    if (ended_) {
        return 0;
    }
    // Samples the decoder still holds come first, as in LAME's program.
    std::uint8_t none = 0;
    int result = hip_decode1_headers(hip_.get(), &none, 0, left, right, &info_);
    while (result == 0) {
        std::size_t got = 0;
        std::uint8_t* bytes = feed_.take(kFrameBytes, got);
        result = hip_decode1_headers(hip_.get(), bytes, got, left, right, &info_);
        if (got == 0 && result == 0) {
            result = -1;
        }
    }
    // LAME's program takes a decoder error as the end of the stream and
    // keeps what came before; so does this one.
    if (result < 0) {
        ended_ = true;
        return 0;
    }
    return result;
}

}  // namespace mirelune::encoder

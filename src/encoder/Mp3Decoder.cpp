#include "encoder/Mp3Decoder.h"

#include <algorithm>
#include <cstdarg>

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

Mp3Decoder::Mp3Decoder(std::uint8_t* audio, std::size_t size)
    : hip_(hip_decode_init()), audio_(audio), size_(size) {
    if (!hip_) {
        throw EncoderFailure("out of memory for the MPEG audio decoder");
    }
    // The decoder reports damaged frames and goes on; one line on failure is
    // all this program prints.
    hip_set_errorf(hip_.get(), &Quiet);
    hip_set_msgf(hip_.get(), &Quiet);
    hip_set_debugf(hip_.get(), &Quiet);
}

std::size_t Mp3Decoder::take(std::size_t wanted) {
    const std::size_t got = std::min(wanted, size_ - position_);
    position_ += got;
    return got;
}

DecodedStream Mp3Decoder::readHeader() {
    DecodedStream stream;
    short left[1152];
    short right[1152];
    std::size_t from = position_;
    std::size_t got = take(kSyncBytes);
    while (got > 0) {
        const int result = hip_decode1_headersB(hip_.get(), audio_ + from, got, left, right, &info_,
                                                &stream.encoderDelay, &stream.encoderPadding);
        if (result < 0 || info_.header_parsed) {
            break;
        }
        from = position_;
        got = take(kHeaderBytes);
    }
    if (!info_.header_parsed || info_.bitrate <= 0) {
        throw EncoderFailure("the decoder finds no MPEG audio frame it can read");
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
    int result = hip_decode1_headers(hip_.get(), audio_ + position_, 0, left, right, &info_);
    while (result == 0) {
        const std::size_t from = position_;
        const std::size_t got = take(kFrameBytes);
        result = hip_decode1_headers(hip_.get(), audio_ + from, got, left, right, &info_);
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

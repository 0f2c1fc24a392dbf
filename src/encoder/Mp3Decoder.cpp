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
// What is read from the file at once.
constexpr std::size_t kReadBytes = 1 << 16;

constexpr int kReservedEmphasis = 2;

void Quiet(const char*, va_list) {}

}  // namespace

Mp3Decoder::Mp3Decoder(const SourceFile& file, Span audio, const MpegHeader& first)
    : hip_(hip_decode_init()),
      file_(file),
      audio_(audio),
      first_(first),
      position_(audio.offset),
      bufferStart_(audio.offset),
      nextHeader_(audio.offset) {
    if (!hip_) {
        throw EncoderFailure("out of memory for the MPEG audio decoder");
    }
    // The decoder reports damaged frames and goes on; one line on failure is
    // all this program prints.
    hip_set_errorf(hip_.get(), &Quiet);
    hip_set_msgf(hip_.get(), &Quiet);
    hip_set_debugf(hip_.get(), &Quiet);
}

void Mp3Decoder::fill(std::size_t end) {
    end = std::min(end, audio_.end());
    const std::size_t held = bufferStart_ + buffer_.size();
    if (end <= held) {
        return;
    }
    // What was handed out is gone; what is held past it may already have
    // had its header changed, so it stays.
    buffer_.erase(buffer_.begin(),
                  buffer_.begin() + static_cast<std::ptrdiff_t>(position_ - bufferStart_));
    bufferStart_ = position_;
    const std::size_t wanted = std::min(std::max(end, held + kReadBytes), audio_.end()) - held;
    const std::size_t kept = buffer_.size();
    buffer_.resize(kept + wanted);
    buffer_.resize(kept + file_.readAt(held, buffer_.data() + kept, wanted));
}

void Mp3Decoder::clearReservedEmphasis(std::size_t end) {
    const std::size_t held = bufferStart_ + buffer_.size();
    // Frames are followed from the first on; where one is damaged, the
    // next header of the stream is looked for byte by byte, as the decoder
    // itself does.
    while (nextHeader_ < end && nextHeader_ + 4 <= held) {
        std::uint8_t* header = buffer_.data() + (nextHeader_ - bufferStart_);
        const auto frame = ParseMpegHeader(header);
        if (frame && SameStream(first_, *frame)) {
            if ((header[3] & 3) == kReservedEmphasis) {
                header[3] = static_cast<std::uint8_t>(header[3] & ~3u);
            }
            nextHeader_ += frame->frameBytes;
        } else {
            ++nextHeader_;
        }
    }
}

std::uint8_t* Mp3Decoder::take(std::size_t wanted, std::size_t& got) {
    got = std::min(wanted, audio_.end() - position_);
    // A header that starts among these bytes must be whole before they go.
    fill(position_ + got + 4);
    clearReservedEmphasis(position_ + got);
    std::uint8_t* bytes = buffer_.data() + (position_ - bufferStart_);
    position_ += got;
    return bytes;
}

DecodedStream Mp3Decoder::readHeader() {
    DecodedStream stream;
    short left[1152];
    short right[1152];
    std::size_t got = 0;
    std::uint8_t* bytes = take(kSyncBytes, got);
    while (got > 0) {
        const int result = hip_decode1_headersB(hip_.get(), bytes, got, left, right, &info_,
                                                &stream.encoderDelay, &stream.encoderPadding);
        if (result < 0 || info_.header_parsed) {
            break;
        }
        bytes = take(kHeaderBytes, got);
    }
    if (!info_.header_parsed || info_.bitrate <= 0) {
        const Bytes header = file_.read({audio_.offset, 4});
        std::string hex;
        for (const std::uint8_t byte : header) {
            char digits[3];
            std::snprintf(digits, sizeof digits, "%02X", byte);
            hex += (hex.empty() ? "" : " ") + std::string(digits);
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
        std::uint8_t* bytes = take(kFrameBytes, got);
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

// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/LameEncoder.h"

#include <cstdarg>
#include <string>

#include "encoder/EncoderFailure.h"

namespace mirelune::encoder {
namespace {

// What lame.h asks the output buffer to hold for n samples: 1.25 n + 7200.
std::size_t OutputRoom(std::size_t samples) {
    return samples + samples / 4 + 7200;
}

// The last frames, which lame_encode_flush writes, fit in this.
constexpr std::size_t kFlushRoom = 16384;

void Quiet(const char*, va_list) {}

EncoderFailure EncodeError(int code) {
    return EncoderFailure("the MP3 encoder failed (LAME error " + std::to_string(code) + ")");
}

}  // namespace

LameEncoder::LameEncoder() : flags_(lame_init()) {
    if (!flags_) {
        throw EncoderFailure("out of memory for the MP3 encoder");
    }
    lame_set_errorf(flags_.get(), &Quiet);
    lame_set_msgf(flags_.get(), &Quiet);
    lame_set_debugf(flags_.get(), &Quiet);
}

void LameEncoder::start() {
    if (lame_init_params(flags_.get()) < 0) {
        throw EncoderFailure(
            "LAME cannot encode " + std::to_string(lame_get_in_samplerate(flags_.get())) +
            " Hz audio at " + std::to_string(lame_get_brate(flags_.get())) + " kbps");
    }
}

const Bytes& LameEncoder::encode(const short* left, const short* right, std::size_t samples) {
    output_.resize(OutputRoom(samples));
    const int written = lame_encode_buffer(flags_.get(), left, right, static_cast<int>(samples),
                                           output_.data(), static_cast<int>(output_.size()));
    if (written < 0) {
        throw EncodeError(written);
    }
    output_.resize(static_cast<std::size_t>(written));
    return output_;
}

const Bytes& LameEncoder::flush() {
    output_.resize(kFlushRoom);
    const int written =
        lame_encode_flush(flags_.get(), output_.data(), static_cast<int>(output_.size()));
    if (written < 0) {
        throw EncodeError(written);
    }
    output_.resize(static_cast<std::size_t>(written));
    return output_;
}

Bytes LameEncoder::lameTagFrame() {
    Bytes frame(lame_get_lametag_frame(flags_.get(), nullptr, 0));
    const std::size_t written = lame_get_lametag_frame(flags_.get(), frame.data(), frame.size());
    frame.resize(written <= frame.size() ? written : 0);
    return frame;
}

}  // namespace mirelune::encoder

// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/StreamFeed.h"

#include <algorithm>

namespace mirelune::encoder {
namespace {

// What is read from the file at once.
constexpr std::size_t kReadBytes = 1 << 16;

constexpr int kReservedEmphasis = 2;

}  // namespace

StreamFeed::StreamFeed(const SourceFile& file, Span audio, const MpegHeader& first)
    : file_(file),
      audio_(audio),
      first_(first),
      position_(audio.offset),
      bufferStart_(audio.offset),
      nextHeader_(audio.offset) {}

void StreamFeed::fill(std::size_t end) {
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

void StreamFeed::clearReservedEmphasis(std::size_t end) {
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

std::uint8_t* StreamFeed::take(std::size_t wanted, std::size_t& got) {
    got = std::min(wanted, audio_.end() - position_);
    // A header that starts among these bytes must be whole before they go.
    fill(position_ + got + 4);
    clearReservedEmphasis(position_ + got);
    std::uint8_t* bytes = buffer_.data() + (position_ - bufferStart_);
    position_ += got;
    return bytes;
}

}  // namespace mirelune::encoder

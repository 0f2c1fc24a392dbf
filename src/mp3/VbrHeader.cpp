// SPDX-License-Identifier: GPL-3.0-or-later
#include "VbrHeader.h"

#include <string>

#include "AnalysisError.h"
#include "CheckedMath.h"

namespace mirelune::mp3 {
namespace {

// Four bytes as a two's complement number: the Xing fields are stored that way.
std::int32_t ReadSigned32(const FrameBytes& frame, std::int32_t index) {
    std::uint32_t value = 0;
    for (std::int32_t k = 0; k < 4; ++k) {
        value = (value << 8) |
                static_cast<std::uint32_t>(frame.At(checked::Add(index, k, "frame index")));
    }
    return static_cast<std::int32_t>(value);
}

// Out of line, so the text it builds puts no stack protector check on every
// byte read.
[[noreturn, gnu::noinline, gnu::cold]] void ThrowPastFrameEnd(std::int32_t index,
                                                              std::int32_t size) {
    throw OutOfRangeError("byte " + std::to_string(index) + " lies past the end of the " +
                          std::to_string(size) + "-byte first frame");
}

}  // namespace

std::int32_t FrameBytes::At(std::int32_t index) const {
    if (index < 0 || index >= size()) {
        ThrowPastFrameEnd(index, size());
    }
    return bytes_[static_cast<std::size_t>(index)];
}

bool FrameBytes::HasText(std::int32_t index, const char (&text)[5]) const {
    // All four bytes are looked at, so a short frame fails even when the
    // first byte already differs.
    bool same = true;
    for (std::int32_t k = 0; k < 4; ++k) {
        const std::int32_t b = At(checked::Add(index, k, "frame index"));
        same = same && b == static_cast<std::uint8_t>(text[k]);
    }
    return same;
}

std::int32_t ReadBigEndian(const FrameBytes& bytes, std::int32_t index, std::int32_t width) {
    // Accumulated term by term in checked arithmetic, as every integer here is.
    std::int32_t value = 0;
    for (std::int32_t k = 0; k < width; ++k) {
        const std::int64_t weight = std::int64_t{1} << (8 * (width - 1 - k));
        const std::int32_t b = bytes.At(checked::Add(index, k, "frame index"));
        value = checked::Narrow(value + b * weight, "big-endian field of 2^31 or more");
    }
    return value;
}

VbrHeaderInfo ReadXingHeader(const FrameBytes& frame, std::int32_t at) {
    VbrHeaderInfo info;
    info.Flags = ReadSigned32(frame, checked::Add(at, 4, "frame index"));
    std::int32_t pos = checked::Add(at, 8, "frame index");
    if ((info.Flags & kXingFramesFlag) != 0) {
        info.Frames = ReadSigned32(frame, pos);
        pos = checked::Add(pos, 4, "frame index");
    }
    if ((info.Flags & kXingBytesFlag) != 0) {
        info.Bytes = ReadSigned32(frame, pos);
    }
    return info;
}

VbrHeaderInfo ReadVbriHeader(const FrameBytes& frame, std::int32_t at) {
    // Every field up to the table of contents is read, in order, so a frame
    // that ends inside any of them fails even though only two are kept.
    static constexpr std::int32_t kWidths[] = {2, 2, 2, 4, 4, 2, 2, 2, 2};
    std::int32_t values[9] = {};
    std::int32_t pos = checked::Add(at, 4, "frame index");
    for (int field = 0; field < 9; ++field) {
        values[field] = ReadBigEndian(frame, pos, kWidths[field]);
        pos = checked::Add(pos, kWidths[field], "frame index");
    }
    VbrHeaderInfo info;
    info.Bytes = values[3];
    info.Frames = values[4];
    info.Flags = 0;
    return info;
}

}  // namespace mirelune::mp3

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace mirelune::mp3 {

// Which VBR header the first frame carries; stored as the analysis reports it.
inline constexpr std::int32_t kNoVbrHeader = 0;
inline constexpr std::int32_t kXingVbrHeader = 1;
inline constexpr std::int32_t kVbriVbrHeader = 2;

// The flags of a Xing or Info header that say which counts follow.
inline constexpr std::int32_t kXingFramesFlag = 1;
inline constexpr std::int32_t kXingBytesFlag = 2;

// What the analysis keeps of a Xing, Info or VBRI header.
struct VbrHeaderInfo {
    std::int32_t Flags = 0;
    std::int32_t Bytes = 0;
    std::int32_t Frames = 0;
};

// The bytes of the first frame. Every index is checked: a header field that
// lies past the end of the frame is an out-of-range failure.
class FrameBytes {
  public:
    explicit FrameBytes(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    std::int32_t At(std::int32_t index) const;
    bool HasText(std::int32_t index, const char (&text)[5]) const;
    std::int32_t size() const noexcept { return static_cast<std::int32_t>(bytes_.size()); }

  private:
    std::vector<std::uint8_t> bytes_;
};

// The unsigned big-endian number of width 1..4 bytes; a value of 2^31 or more
// does not fit and fails with the overflow error.
std::int32_t ReadBigEndian(const FrameBytes& bytes, std::int32_t index, std::int32_t width);

// A Xing or Info header whose identifier starts at index at.
VbrHeaderInfo ReadXingHeader(const FrameBytes& frame, std::int32_t at);
// A VBRI header whose identifier starts at index at.
VbrHeaderInfo ReadVbriHeader(const FrameBytes& frame, std::int32_t at);

}  // namespace mirelune::mp3

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace mirelune::mp3 {

// Reads bit fields, most significant bit first, from its own copy of a run of
// bytes. Reads past the end and results beyond 31 significant bits fail
// instead of wrapping, so a malformed input can never yield a plausible value.
class Bitstream {
  public:
    Bitstream();

    // Copies bytes[offset] .. bytes[offset + length - 1] of the caller's array.
    void SetData(const std::uint8_t* bytes, std::size_t count, std::int32_t offset,
                 std::int32_t length);
    // Never carries from the bit count into the byte index: only skips that
    // leave 0..8 unread bits in the current byte are meaningful.
    void SkipBits(std::int32_t n);
    std::int32_t ReadBits(std::int32_t n);

    std::int32_t position() const noexcept { return position_; }
    std::int32_t bitsLeft() const noexcept { return bitsLeft_; }

  private:
    std::int32_t ReadBitsInRange(std::int32_t n);
    // Kept out of line: the error texts it may build would otherwise put the
    // stack protector's check on every read.
    [[gnu::noinline]] std::int32_t ReadBitsChecked(std::int32_t n);
    std::int32_t ShiftLeft(std::int32_t value, std::int32_t count) const;
    std::int32_t ShiftRight(std::int32_t value, std::int32_t count) const;
    std::int32_t ByteAt(std::int32_t index) const;
    std::int32_t Power(std::int32_t count) const;

    std::vector<std::uint8_t> data_;
    std::int32_t position_ = 0;
    std::int32_t bitsLeft_ = 8;
    std::array<std::int32_t, 32> powers_{};
};

}  // namespace mirelune::mp3

// SPDX-License-Identifier: GPL-3.0-or-later
#include "Bitstream.h"

#include <string>

#include "AnalysisError.h"
#include "CheckedMath.h"

namespace mirelune::mp3 {

Bitstream::Bitstream() {
    for (int k = 0; k < 31; ++k) {
        powers_[k] = std::int32_t{1} << k;
    }
    powers_[31] = std::numeric_limits<std::int32_t>::min();
}

void Bitstream::SetData(const std::uint8_t* bytes, std::size_t count, std::int32_t offset,
                        std::int32_t length) {
    const std::int64_t end = std::int64_t{offset} + length;
    if (offset < 0 || length < 0 || end > static_cast<std::int64_t>(count)) {
        throw OutOfRangeError("bit reader source range " + std::to_string(offset) + "+" +
                              std::to_string(length) + " outside " + std::to_string(count) +
                              " bytes");
    }
    data_.assign(bytes + offset, bytes + end);
    position_ = 0;
    bitsLeft_ = 8;
}

void Bitstream::SkipBits(std::int32_t n) {
    position_ = checked::Add(position_, n / 8, "bit reader position");
    bitsLeft_ = checked::Sub(bitsLeft_, n % 8, "bit reader bit count");
}

std::int32_t Bitstream::ByteAt(std::int32_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= data_.size()) {
        throw OutOfRangeError("bit reader read past byte " + std::to_string(data_.size()));
    }
    return data_[static_cast<std::size_t>(index)];
}

std::int32_t Bitstream::Power(std::int32_t count) const {
    // The count travels as an unsigned byte: narrowing fails first, then the
    // table index.
    if (count < 0 || count > 255) {
        throw OverflowError("shift count " + std::to_string(count));
    }
    if (count > 31) {
        throw OutOfRangeError("shift count " + std::to_string(count));
    }
    return powers_[static_cast<std::size_t>(count)];
}

std::int32_t Bitstream::ShiftLeft(std::int32_t value, std::int32_t count) const {
    return checked::Mul(value, Power(count), "bit reader shift");
}

std::int32_t Bitstream::ShiftRight(std::int32_t value, std::int32_t count) const {
    return checked::Narrow(std::int64_t{value} / Power(count), "bit reader shift");
}

std::int32_t Bitstream::ReadBits(std::int32_t n) {
    // Reads of up to 24 bits from a valid state that stay inside the data can
    // neither overflow nor run out of range: they take plain shifts. Every
    // other read goes through the checked steps, which fail where they must.
    if (n >= 0 && n <= 24 && bitsLeft_ >= 1 && bitsLeft_ <= 8 && position_ >= 0) {
        const std::int64_t rest = std::int64_t{n} - bitsLeft_;
        const std::int64_t last = position_ + (rest > 0 ? (rest + 7) / 8 : 0);
        if (last < static_cast<std::int64_t>(data_.size())) {
            return ReadBitsInRange(n);
        }
    }
    return ReadBitsChecked(n);
}

std::int32_t Bitstream::ReadBitsChecked(std::int32_t n) {
    if (n < bitsLeft_) {
        const std::int32_t current = ByteAt(position_);
        const std::int32_t mask = checked::Sub(ShiftLeft(1, bitsLeft_), 1, "bit reader mask");
        const std::int32_t result =
            ShiftRight(current & mask, checked::Sub(bitsLeft_, n, "bit reader bit count"));
        bitsLeft_ = checked::Sub(bitsLeft_, n, "bit reader bit count");
        return result;
    }

    const std::int32_t current = ByteAt(position_);
    std::int32_t value = current & checked::Sub(ShiftLeft(1, bitsLeft_), 1, "bit reader mask");
    std::int32_t rest = checked::Sub(n, bitsLeft_, "bit reader bit count");
    bitsLeft_ = 8;
    position_ = checked::Add(position_, 1, "bit reader position");
    while (rest >= 8) {
        value = ShiftLeft(value, 8) | ByteAt(position_);
        position_ = checked::Add(position_, 1, "bit reader position");
        rest -= 8;
    }
    if (rest > 0) {
        const std::int32_t high = ShiftLeft(value, rest);
        value = high | ShiftRight(ByteAt(position_), 8 - rest);
        bitsLeft_ = 8 - rest;
    }
    return value;
}

std::int32_t Bitstream::ReadBitsInRange(std::int32_t n) {
    const auto* data = data_.data();
    const std::int32_t unread = data[position_] & ((1 << bitsLeft_) - 1);
    if (n < bitsLeft_) {
        bitsLeft_ -= n;
        return unread >> bitsLeft_;
    }
    std::int32_t value = unread;
    std::int32_t rest = n - bitsLeft_;
    bitsLeft_ = 8;
    ++position_;
    while (rest >= 8) {
        value = (value << 8) | data[position_];
        ++position_;
        rest -= 8;
    }
    if (rest > 0) {
        value = (value << rest) | (data[position_] >> (8 - rest));
        bitsLeft_ = 8 - rest;
    }
    return value;
}

}  // namespace mirelune::mp3

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "AnalysisError.h"

// Every integer of the analysis is a signed 32-bit value whose arithmetic is
// checked: a result outside the range is an overflow failure, never a wrap.
namespace mirelune::mp3::checked {

inline std::int32_t Narrow(std::int64_t value, const char* what) {
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        throw OverflowError(what);
    }
    return static_cast<std::int32_t>(value);
}

inline std::int32_t Add(std::int32_t a, std::int32_t b, const char* what) {
    return Narrow(std::int64_t{a} + b, what);
}

inline std::int32_t Sub(std::int32_t a, std::int32_t b, const char* what) {
    return Narrow(std::int64_t{a} - b, what);
}

inline std::int32_t Mul(std::int32_t a, std::int32_t b, const char* what) {
    return Narrow(std::int64_t{a} * b, what);
}

// Nearest integer, ties to the even neighbour, independent of the FPU's
// current rounding mode.
inline double RoundHalfEven(double x) {
    const double lower = std::floor(x);
    const double fraction = x - lower;
    if (fraction < 0.5) {
        return lower;
    }
    if (fraction > 0.5) {
        return lower + 1.0;
    }
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

inline std::int32_t RoundToInt32(double x, const char* what) {
    const double r = RoundHalfEven(x);
    // NaN fails both comparisons, so it is caught as well.
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) {
        throw OverflowError(what);
    }
    return static_cast<std::int32_t>(r);
}

}  // namespace mirelune::mp3::checked

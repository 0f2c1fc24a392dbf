// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace mirelune::cli {

// What --fit was given: a size, or the output folder's free space.
struct FitTarget {
    bool free = false;
    std::uint64_t size = 0;
};

// "free", or a size: a whole or decimal number of bytes, or followed by K,
// M, G or T (also KiB … TiB: 1024-based) or KB, MB, GB, TB (1000-based, as
// a stick's label counts), in any letter case; a trailing "B" alone means
// bytes. Nothing for anything else, or beyond 2^63 bytes.
std::optional<FitTarget> ParseFitTarget(const QString& text);

}  // namespace mirelune::cli

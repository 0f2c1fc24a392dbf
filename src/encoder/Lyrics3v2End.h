// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>

#include "encoder/FileBytes.h"

namespace mirelune::encoder {

// What ends a Lyrics3v2 block: the block's length in six digits, and
// "LYRICS200". The block starts with "LYRICSBEGIN".
struct Lyrics3v2End {
    static constexpr std::size_t kBytes = 6 + 9;
    static constexpr const char* kBegin = "LYRICSBEGIN";

    // The whole block, from its "LYRICSBEGIN" to this end, both included.
    std::size_t blockBytes = 0;

    // Nothing when the first fifteen of `bytes` are no such end.
    static std::optional<Lyrics3v2End> Parse(const Bytes& bytes);
};

}  // namespace mirelune::encoder

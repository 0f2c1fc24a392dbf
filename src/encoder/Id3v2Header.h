// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>

#include "encoder/FileBytes.h"

namespace mirelune::encoder {

// The ten bytes at either end of an ID3v2 tag: its header ("ID3"), or the
// footer ("3DI") that version 2.4 may append so the tag can be found from
// its end.
struct Id3v2Header {
    enum class End { Header, Footer };
    static constexpr std::size_t kBytes = 10;

    int majorVersion = 0;
    std::size_t bodyBytes = 0;
    bool hasFooter = false;

    // Header, body and footer.
    std::size_t tagBytes() const { return kBytes + bodyBytes + (hasFooter ? kBytes : 0); }

    // Nothing when the first ten of `bytes` are no such end of a tag.
    static std::optional<Id3v2Header> Parse(const Bytes& bytes, End end);
};

}  // namespace mirelune::encoder

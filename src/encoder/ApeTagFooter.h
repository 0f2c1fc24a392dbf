// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>

#include "encoder/FileBytes.h"

namespace mirelune::encoder {

// The 32 bytes that end an APE tag (version 1 or 2): they give the length
// of its items and of themselves, and whether a header of the same size
// comes before the items.
struct ApeTagFooter {
    static constexpr std::size_t kBytes = 32;

    std::size_t itemsAndFooterBytes = 0;
    bool hasHeader = false;

    std::size_t tagBytes() const { return itemsAndFooterBytes + (hasHeader ? kBytes : 0); }

    // Nothing when the first 32 of `bytes` are no APE tag footer.
    static std::optional<ApeTagFooter> Parse(const Bytes& bytes);
};

}  // namespace mirelune::encoder

// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/MemoryReader.h"

#include <algorithm>

namespace mirelune::encoder {

std::size_t MemoryReader::readAt(std::size_t offset, std::uint8_t* into, std::size_t size) const {
    if (offset >= bytes_.size()) {
        return 0;
    }
    const std::size_t got = std::min(size, bytes_.size() - offset);
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), got, into);
    return got;
}

}  // namespace mirelune::encoder

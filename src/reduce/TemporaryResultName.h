// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace mirelune::temporary_result {

// A result in the making is written beside its output under a short hidden
// name: this prefix, a tag of letters and digits, this suffix. It never ends
// in ".mp3", so a leftover never passes for a result, and the sweep of
// leftovers knows one by its name alone. Plain C++, for the encoder program
// writes such files too.
inline constexpr char kPrefix[] = ".mirelune-";
inline constexpr char kSuffix[] = ".part";
inline constexpr std::size_t kTagLength = 6;

}  // namespace mirelune::temporary_result

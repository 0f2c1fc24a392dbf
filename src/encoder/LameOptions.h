// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <lame/lame.h>

#include <optional>

namespace mirelune::encoder {

// What `-h -m s -b KBPS` changes in LAME's settings; an option left out
// keeps LAME's own default.
struct LameChoices {
    bool highQuality = false;
    bool stereo = false;
    std::optional<int> kbps;
};

// The options as LAME's program sets them from its command line. The
// encoder and the table of LAME's decisions the size prediction uses both
// go through here, so the two cannot drift apart.
void ApplyOptions(lame_t flags, const LameChoices& choices);

}  // namespace mirelune::encoder

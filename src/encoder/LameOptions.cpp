// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/LameOptions.h"

namespace mirelune::encoder {

void ApplyOptions(lame_t flags, const LameChoices& choices) {
    id3tag_init(flags);
    if (choices.highQuality) {
        lame_set_quality(flags, 2);
    }
    if (choices.stereo) {
        lame_set_mode(flags, STEREO);
    }
    if (choices.kbps) {
        lame_set_brate(flags, *choices.kbps);
        lame_set_VBR_min_bitrate_kbps(flags, lame_get_brate(flags));
    }
    // ReplayGain analysis is on unless that program's user turns it off.
    lame_set_findReplayGain(flags, 1);
}

}  // namespace mirelune::encoder

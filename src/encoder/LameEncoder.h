// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <lame/lame.h>

#include <memory>

#include "encoder/FileBytes.h"

namespace mirelune::encoder {

// LAME's encoder, silent, with its output gathered in memory. Set it up
// through flags(), then start() it, encode, flush, and at last ask for the
// Info/LAME header frame that replaces the stream's first frame.
class LameEncoder {
  public:
    LameEncoder();
    LameEncoder(const LameEncoder&) = delete;
    LameEncoder& operator=(const LameEncoder&) = delete;

    lame_t flags() { return flags_.get(); }

    // Throws EncoderFailure when LAME refuses the settings.
    void start();

    // The bytes the samples completed; they stay valid until the next call.
    const Bytes& encode(const short* left, const short* right, std::size_t samples);
    const Bytes& flush();
    Bytes lameTagFrame();

  private:
    struct Close {
        void operator()(lame_t flags) const { lame_close(flags); }
    };

    std::unique_ptr<lame_global_flags, Close> flags_;
    Bytes output_;
};

}  // namespace mirelune::encoder

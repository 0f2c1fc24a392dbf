#pragma once

#include "shell/EndSignals.h"

namespace mirelune::cli {

// The shell's convention for a program ended by Ctrl+C.
inline constexpr int kExitInterrupted = 130;

// While one lives, Ctrl+C or a plain kill ends the run through the event loop
// rather than on the spot, so running encoders are stopped and their
// temporary files and the encoder copy removed instead of left behind.
class StopOnSignal {
  public:
    StopOnSignal();

    bool stopped() const { return stopped_; }

  private:
    bool stopped_ = false;
    EndSignals endSignals_;
};

}  // namespace mirelune::cli

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/StopOnSignal.h"

namespace mirelune {

// SIGTERM, SIGHUP and SIGINT end the window program the way the user closing
// it would: every window closes (an open box as if cancelled), so a running
// job stops its encoder and removes its partial result and the encoder copy,
// and then the event loop ends. Lives for as long as the program.
class CloseOnSignal {
  public:
    CloseOnSignal();

  private:
    StopOnSignal stop_;
};

}  // namespace mirelune

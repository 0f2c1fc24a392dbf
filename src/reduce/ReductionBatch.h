// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "reduce/FileReduction.h"

namespace mirelune {

// Runs reductions side by side, at most `parallel` encoders at once, all on
// the calling thread's event loop. Requests start in list order; onEnded is
// called as each one ends (in the order they end) with its index in the
// list, and onStarted, when given, just before each one starts. Returns when
// every request has ended, or early when the application is told to exit:
// reductions still running then are stopped, their temporary files removed,
// and each is reported as Interrupted; those not yet started are not
// reported. No request starts once its stopRequested says the user asked to
// stop; the batch then returns when the running ones have ended.
void RunReductions(const std::vector<ReductionRequest>& requests, int parallel,
                   const std::function<void(std::size_t, const ReductionOutcome&)>& onEnded,
                   const std::function<void(std::size_t)>& onStarted = {});

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "cli/ReducePlan.h"
#include "encoder/ResultSize.h"

namespace mirelune::cli {

// Reads, for each planned reduction that has none yet, what its result's
// size depends on in its source. A source the encoder would refuse gets
// nothing: its row would fail and make no file.
void ReadSourceFactsOf(Plan& plan);

// The size of a planned reduction's result at kbps, as the job encodes it;
// nothing when it is not known.
std::optional<encoder::SizePrediction> PredictedSize(const PlannedReduction& reduction, int kbps);

}  // namespace mirelune::cli

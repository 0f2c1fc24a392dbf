// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/PredictedSizes.h"

#include <QFile>
#include <exception>

#include "encoder/SourceFile.h"

namespace mirelune::cli {

void ReadSourceFactsOf(Plan& plan) {
    for (PlannedReduction& r : plan.reductions) {
        if (r.facts) {
            continue;
        }
        try {
            r.facts = encoder::ReadSourceFacts(
                encoder::SourceFile(QFile::encodeName(r.source).toStdString()));
        } catch (const std::exception&) {
            r.facts.reset();
        }
    }
}

std::optional<encoder::SizePrediction> PredictedSize(const PlannedReduction& reduction, int kbps) {
    if (!reduction.facts) {
        return std::nullopt;
    }
    // The job always asks for `-m s`.
    return encoder::PredictResultSize(*reduction.facts, kbps, true);
}

}  // namespace mirelune::cli

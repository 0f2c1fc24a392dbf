// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "cli/FitSize.h"
#include "cli/OutputRoom.h"
#include "cli/ReducePlan.h"

namespace mirelune::cli {

struct FitOutcome {
    std::optional<int> kbps{};  // the bitrate chosen
    // Refused, the reason (a usage error); else the choice and why, or why
    // nothing fits.
    QString refusal{};
    QString text{};
};

// The highest of the offered bitrates (ascending) whose results fit target,
// over the whole plan, and none above the highest source bitrate the
// analysis read (but the lowest); its facts must have been read. `free` needs every
// file system the results go to to report its size.
FitOutcome FitBitrate(const Plan& plan, const FitTarget& target, int jobs,
                      const std::vector<int>& offered,
                      const FileSystemQuery& query = &QueryFileSystem);

}  // namespace mirelune::cli

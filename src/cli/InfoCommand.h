// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommandLine.h"

namespace mirelune::cli {

// mirelune-cli info [--json] FILE...
int RunInfo(const CommandArguments& args);

}  // namespace mirelune::cli

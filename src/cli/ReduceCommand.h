// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommandLine.h"

namespace mirelune::cli {

// mirelune-cli reduce -b KBPS (-o DIR | --beside) [-j N] [--keep-tree]
//                     [--skip-lower] [--dry-run] PATH...
int RunReduce(const CommandArguments& args);

}  // namespace mirelune::cli

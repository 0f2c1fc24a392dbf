#pragma once

#include <QString>
#include <QStringList>

#include "CommandLine.h"

namespace mirelune::cli {

// mirelune-cli reduce -b KBPS (-o DIR | --beside) [-j N] [--keep-tree]
//                     [--skip-lower] [--dry-run] PATH...
int RunReduce(const CommandArguments& args);

// The files a dropped folder contributes, in the window's order: the
// folder's own files, then its sub-folders' level by level; every file, names
// starting with "~" left out, each real folder visited once so links cannot
// loop.
QStringList FilesOfDroppedFolder(const QString& folder);

}  // namespace mirelune::cli

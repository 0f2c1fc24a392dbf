// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace mirelune {

// Whether a run could make a file in folder, known without making anything
// there: 0, or why not. A read-only mount answers EROFS, whoever asks;
// otherwise the permission test of the effective user decides (EACCES,
// EPERM for an immutable folder, ENOENT when the folder is gone).
int WriteAccessIn(const QString& folder);

}  // namespace mirelune

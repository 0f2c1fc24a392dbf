// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace mirelune {

// Whether a run could make a file in folder, known without making anything
// there: 0, or why not. A read-only mount answers EROFS (root passes the
// permission test there); otherwise the permission test of the effective
// user decides (EACCES, or ENOENT when the folder is gone).
int WriteAccessIn(const QString& folder);

}  // namespace mirelune

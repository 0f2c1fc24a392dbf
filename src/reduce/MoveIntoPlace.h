#pragma once

#include <QString>

namespace mirelune {

enum class Replace { No, Yes };

// Moves a finished result from its temporary name onto its output path, in
// one step, within one folder. With Replace::No the move never replaces
// anything at the output path, not even a file that appeared a moment ago:
// it fails with EEXIST instead. Returns 0, or the system's error number.
int MoveIntoPlace(const QString& from, const QString& to, Replace replace);

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace mirelune {

// A target above a source's own bitrate makes a result larger than its
// source. The window still makes it and the command line too, unless told
// --skip-lower; both then say so.

// "1.6 MiB → 3.1 MiB"
QString SizeChange(qint64 before, qint64 after);

// The sizes of a result that came out larger than its source (SizeChange);
// nothing when it did not, or when either size cannot be read.
std::optional<QString> GrowthOf(const QString& source, const QString& result);

// The command line's line for such a result: "larger than the original
// (1.6 MiB → 3.1 MiB)".
QString LargerThanOriginal(qint64 before, qint64 after);

// The command line's summary's tail: "; 2 results larger than the original",
// empty for none.
QString LargerResultsTail(int count);

}  // namespace mirelune

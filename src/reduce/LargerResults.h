// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace mirelune {

// A target above a source's own bitrate makes a result larger than its
// source. The window still makes it and the command line too, unless told
// --skip-lower; both then say so.

// "1.6 MiB → 3.1 MiB", the sizes as locale writes them ("1,6 Mio" in
// French). The command line passes QLocale::c(): scripts read its figures.
QString SizeChange(const QLocale& locale, qint64 before, qint64 after);

// The size of a file, to tell a result larger than its source; nothing for
// a missing file, a folder or a device.
std::optional<qint64> FileBytes(const QString& path);

// The command line's line for such a result: "larger than the original
// (1.6 MiB → 3.1 MiB)".
QString LargerThanOriginal(const QLocale& locale, qint64 before, qint64 after);

// The command line's summary's tail: "; 2 results larger than the original",
// empty for none.
QString LargerResultsTail(int count);

}  // namespace mirelune

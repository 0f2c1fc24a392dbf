// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace mirelune {

// Removes a file, making it writable first if a plain removal is refused.
// Never reports: a file that cannot be removed is left where it is.
void DeleteFileQuietly(const QString& path) noexcept;

}  // namespace mirelune

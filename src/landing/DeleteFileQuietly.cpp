// SPDX-License-Identifier: GPL-3.0-or-later
#include "landing/DeleteFileQuietly.h"

#include <QFile>

namespace mirelune {

void DeleteFileQuietly(const QString& path) noexcept {
    try {
        if (path.isEmpty() || QFile::remove(path)) {
            return;
        }
        // A read-only file, on the systems where that stops a removal.
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
        QFile::remove(path);
    } catch (...) {
        // Only memory can fail here, and a leftover file is no reason to stop.
    }
}

}  // namespace mirelune

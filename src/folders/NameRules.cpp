// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/NameRules.h"

#include <QFile>
#include <QList>
#include <climits>

namespace mirelune {

bool HasUnsafeNameChars(const QString& name) {
    for (const char32_t c : name.toUcs4()) {
        if (c < 32 || (c >= 127 && c <= 159)) {
            return true;
        }
    }
    return false;
}

bool IsWalkableFolderName(const QString& name) {
    return QFile::encodeName(name).size() <= NAME_MAX && !HasUnsafeNameChars(name) &&
           name != QStringLiteral(".") && name != QStringLiteral("..");
}

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ApplicationTitle.h"

namespace mirelune {

QString ApplicationTitleFor(const QString& productName) {
    QString title = productName;
    bool cutOnce = false;
    while (!cutOnce || title.size() > kMaxApplicationTitleLength) {
        const qsizetype lastBlank = title.lastIndexOf(QLatin1Char(' '));
        if (lastBlank < 0) {
            return title.left(kMaxApplicationTitleLength);
        }
        title.truncate(lastBlank);
        cutOnce = true;
    }
    return title;
}

}  // namespace mirelune

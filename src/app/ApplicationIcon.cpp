// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ApplicationIcon.h"

#include <QDirIterator>

namespace mirelune {

QIcon ApplicationIcon() {
    QIcon icon;
    // One bitmap per size the build rendered; Qt picks the nearest one.
    QDirIterator sizes(QStringLiteral(":/mirelune/icons"), {QStringLiteral("*.png")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (sizes.hasNext()) {
        icon.addFile(sizes.next());
    }
    return icon;
}

}  // namespace mirelune

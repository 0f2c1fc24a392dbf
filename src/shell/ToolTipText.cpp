// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ToolTipText.h"

#include "shell/PathHelpers.h"

namespace mirelune {

QString WrappingToolTip(const QString& text) {
    const QString separator{QChar(kPathSeparator)};
    // A zero-width space: a place to break that shows nothing.
    const QString breakable = separator + QChar(0x200B);
    return QStringLiteral("<p style=\"white-space:pre-wrap\">") +
           text.toHtmlEscaped().replace(separator, breakable) + QStringLiteral("</p>");
}

}  // namespace mirelune

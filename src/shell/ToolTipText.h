// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace mirelune {

// A tooltip that wraps rather than running off the screen: Qt wraps a tooltip
// only when it is rich text. The text is escaped, so a name holding "<" or
// "&" is shown as it is, its blanks are kept, and a path may break after
// each separator, since it has no blank to break at.
QString WrappingToolTip(const QString& text);

}  // namespace mirelune

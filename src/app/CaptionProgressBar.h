// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProgressBar>

namespace mirelune {

// A progress bar that shows its caption word for word. The caption carries
// file names, and a plain QProgressBar would take "%p", "%v" or "%m" in a
// name for its own placeholders.
class CaptionProgressBar : public QProgressBar {
  public:
    using QProgressBar::QProgressBar;

    QString text() const override { return format(); }
};

}  // namespace mirelune

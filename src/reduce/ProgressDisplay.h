// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace mirelune {

// The progress bar as the runner and the job see it: a value from 0 to 100
// and the caption drawn on it.
class ProgressDisplay {
  public:
    virtual ~ProgressDisplay() = default;

    virtual int progressValue() const = 0;
    virtual void setProgressValue(int value) = 0;
    virtual QString progressText() const = 0;
    virtual void setProgressText(const QString& text) = 0;
};

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "reduce/ProgressDisplay.h"
#include "reduce/ReduceOptions.h"

namespace mirelune {

class WindowLayer;

// What the reduce job needs from the main window, and nothing more. The
// rows are read at the moment a step needs them, so rows the user drags
// while the job yields take their new places; the options are taken once,
// when the job starts, and their controls stay disabled until it ends.
class ReduceJobView : public ProgressDisplay {
  public:
    // The file list: its row count, and the full path held by row i,
    // counted from 1. rowText throws Failure for a row that does not exist.
    virtual int rowCount() const = 0;
    virtual QString rowText(int row) const = 0;

    // The reduce options as the controls show them now.
    virtual ReduceOptions options() const = 0;
    // Whether the user can change them.
    virtual void setOptionsEnabled(bool enabled) = 0;

    // The busy pointer also tells the file list to refuse removals.
    virtual void setBusyPointer(bool busy) = 0;

    // Messages, yields and the error report.
    virtual WindowLayer& window() = 0;
};

}  // namespace mirelune

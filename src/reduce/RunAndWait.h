// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

#include "reduce/RunProgress.h"

namespace mirelune {

class FileReduction;
class ProgressDisplay;
class WindowLayer;

// The bar a wait moves, and where it starts: row startValue's value, one
// of fileCount files, under the caption baseText. No bar: nothing is shown.
struct WaitBar {
    ProgressDisplay* bar = nullptr;
    QString baseText{};
    qint32 startValue = 0;
    qint32 fileCount = 1;
};

// Starts the reduction's encoder and waits until it has ended and its result
// has been accepted or refused. The wait ends on the process's own finished
// signal; meanwhile a timer polls every pollIntervalMs, letting the window
// handle its events, and after kPollsBeforeWaitCaption polls the bar's
// caption counts "Please wait.. " and the bar creeps toward its cap (see
// BarStepsFor). Values beyond the bar's range are shown as its end. When the
// wait is over the caption is set back to baseText (or "Progress Bar").
//
// Returns the encoder's exit code, or kStartFailureCode when it could not be
// started (the bar is then left alone). A failure of the bar itself does not
// end the wait: it is thrown once the encoder has ended.
qint32 RunAndWait(FileReduction& reduction, const WaitBar& shown, WindowLayer& window,
                  int pollIntervalMs = kPollIntervalMs);

}  // namespace mirelune

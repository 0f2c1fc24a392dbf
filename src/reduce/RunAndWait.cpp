// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/RunAndWait.h"

#include <QEventLoop>
#include <QTimer>
#include <exception>

#include "reduce/FileReduction.h"
#include "reduce/ProgressDisplay.h"
#include "shell/WindowLayer.h"

namespace mirelune {

qint32 RunAndWait(FileReduction& reduction, const WaitBar& shown, WindowLayer& window,
                  int pollIntervalMs) {
    ProgressDisplay* const bar = shown.bar;
    const QString& baseText = shown.baseText;
    const qint32 startValue = shown.startValue;
    // Worked out before the encoder starts, so a bad count cannot leave a
    // process behind that nobody waits for.
    const BarSteps steps = bar != nullptr ? BarStepsFor(startValue, shown.fileCount) : BarSteps{};
    if (!reduction.start()) {
        return reduction.outcome().exitCode;
    }

    QEventLoop loop;
    QObject::connect(&reduction, &FileReduction::finished, &loop, &QEventLoop::quit);
    QTimer poll;
    poll.setInterval(pollIntervalMs);
    qint32 polls = 0;
    std::exception_ptr barFailure;
    // An exception must not cross the event loop; it is kept and the wait goes on.
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        try {
            window.yieldToEvents();
        } catch (...) {
            if (!barFailure) {
                barFailure = std::current_exception();
            }
        }
        if (bar == nullptr || barFailure || reduction.isDone()) {
            return;
        }
        try {
            ++polls;
            if (polls >= kPollsBeforeWaitCaption) {
                bar->setProgressText(WaitCaption(baseText, polls));
                const qint32 value = BarValueAtPoll(polls, startValue, steps);
                if (value >= 0) {
                    bar->setProgressValue(ShownBarValue(value));
                }
            }
        } catch (...) {
            barFailure = std::current_exception();
        }
    });
    poll.start();
    if (!reduction.isDone()) {
        loop.exec();
    }
    poll.stop();
    // The program is quitting under us: the encoder must not outlive the wait.
    if (!reduction.isDone()) {
        reduction.abort();
    }
    // A start refused by the system shows up only once the loop runs; the
    // bar was not touched, and stays so.
    if (bar != nullptr && reduction.encoderStarted()) {
        bar->setProgressText(CaptionAfterRun(baseText));
    }
    if (barFailure) {
        std::rethrow_exception(barFailure);
    }
    return reduction.outcome().exitCode;
}

}  // namespace mirelune

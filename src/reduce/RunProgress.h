// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

namespace mirelune {

// What RunAndWait returns when the process could not be started: the
// "file not found" error number 53 plus 0x80040000, as a 32-bit value. A
// real exit code is never negative, so the two cannot be confused.
inline constexpr qint32 kStartFailureErrorNumber = 53;
inline constexpr qint32 kStartFailureCode =
    static_cast<qint32>(0x80040000u + static_cast<quint32>(kStartFailureErrorNumber));

// The runner's clock: one poll per interval while the encoder runs.
inline constexpr int kPollIntervalMs = 100;
// About five seconds in, the caption starts counting...
inline constexpr qint32 kPollsBeforeWaitCaption = 50;
// ...and about every fifteen seconds after that the bar moves one step.
inline constexpr qint32 kPollsPerBarStep = 150;
// The bar's range; larger values are shown as the maximum.
inline constexpr int kProgressMaximum = 100;

// How the bar creeps forward during a long run of one of fileCount files
// that started at startValue: by step every kPollsPerBarStep polls, never
// beyond cap. Both are rounded half to even; cap uses the unrounded share.
struct BarSteps {
    qint32 step = 0;
    qint32 cap = 0;
};
// fileCount must be at least 1.
BarSteps BarStepsFor(qint32 startValue, qint32 fileCount);

// The bar value the runner sets at poll count polls, or -1 when that poll
// does not move the bar. Values above kProgressMaximum come back as they are.
qint32 BarValueAtPoll(qint32 polls, qint32 startValue, const BarSteps& steps);

// The caption during a long run: base, ", " when base is not empty,
// "Please wait.. " and the number of polls since the counting began.
QString WaitCaption(const QString& base, qint32 polls);

// The caption after a run: the base text, or "Progress Bar" when it is empty.
QString CaptionAfterRun(const QString& base);

// The bar value for row i of n: the whole part of i / n * 100, so row 57 of
// 100 gives 56.
qint32 RowBarValue(qint32 row, qint32 rowCount);

// Values beyond the bar's range shown at its end.
int ShownBarValue(qint32 value);

}  // namespace mirelune

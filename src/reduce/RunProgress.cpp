// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/RunProgress.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <limits>

#include "mp3/CheckedMath.h"
#include "shell/Failure.h"

namespace mirelune {
namespace {

qint32 RoundToInt32(double value) {
    const double rounded = mp3::checked::RoundHalfEven(value);
    if (!(rounded >= std::numeric_limits<qint32>::min() &&
          rounded <= std::numeric_limits<qint32>::max())) {
        throw Failure(QStringLiteral("Overflow"));
    }
    return static_cast<qint32>(rounded);
}

}  // namespace

BarSteps BarStepsFor(qint32 startValue, qint32 fileCount) {
    if (fileCount <= 0) {
        throw Failure(QStringLiteral("Division by zero"));
    }
    const double share = 100.0 / fileCount;
    BarSteps steps;
    steps.step = RoundToInt32(share / 10.0);
    steps.cap = RoundToInt32(share + startValue - steps.step);
    return steps;
}

qint32 BarValueAtPoll(qint32 polls, qint32 startValue, const BarSteps& steps) {
    const qint64 since = static_cast<qint64>(polls) - kPollsBeforeWaitCaption;
    if (since < 0 || since % kPollsPerBarStep != 0) {
        return -1;
    }
    const double v = static_cast<double>(since / kPollsPerBarStep) * steps.step + startValue;
    return v >= steps.cap ? steps.cap : RoundToInt32(v);
}

QString WaitCaption(const QString& base, qint32 polls) {
    QString caption = base;
    if (!caption.isEmpty()) {
        caption += QStringLiteral(", ");
    }
    return caption + QCoreApplication::translate("RunProgress", "Please wait.. %1")
                         .arg(static_cast<qint64>(polls) - kPollsBeforeWaitCaption);
}

QString CaptionAfterRun(const QString& base) {
    return base.isEmpty() ? QCoreApplication::translate("RunProgress", "Progress Bar") : base;
}

qint32 RowBarValue(qint32 row, qint32 rowCount) {
    if (rowCount <= 0) {
        throw Failure(QStringLiteral("Division by zero"));
    }
    return static_cast<qint32>(std::trunc(static_cast<double>(row) / rowCount * 100.0));
}

int ShownBarValue(qint32 value) {
    return std::clamp(value, 0, kProgressMaximum);
}

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/ReduceOptions.h"

#include <QCoreApplication>

#include "mp3/CheckedMath.h"
#include "shell/Failure.h"

namespace mirelune {
namespace {

// The leading number of a text the way a lenient reader takes it: optional
// sign, digits, an optional fraction; nothing readable gives 0.
double LeadingNumber(const QString& text) {
    qsizetype i = 0;
    double sign = 1.0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        sign = text[i] == u'-' ? -1.0 : 1.0;
        ++i;
    }
    double value = 0.0;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128) {
        value = value * 10.0 + (text[i].unicode() - u'0');
        ++i;
    }
    if (i < text.size() && text[i] == u'.') {
        double scale = 0.1;
        for (++i; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i) {
            value += (text[i].unicode() - u'0') * scale;
            scale /= 10.0;
        }
    }
    return sign * value;
}

}  // namespace

const QStringList& ReduceEntries() {
    static const QStringList entries = {
        QStringLiteral("Reduce to 32 kbps"),  QStringLiteral("Reduce to 40 kbps"),
        QStringLiteral("Reduce to 48 kbps"),  QStringLiteral("Reduce to 56 kbps"),
        QStringLiteral("Reduce to 64 kbps"),  QStringLiteral("Reduce to 80 kbps"),
        QStringLiteral("Reduce to 96 kbps"),  QStringLiteral("Reduce to 112 kbps"),
        QStringLiteral("Reduce to 128 kbps"), QStringLiteral("Reduce to 160 kbps"),
        QStringLiteral("Reduce to 192 kbps"), QStringLiteral("Reduce to 224 kbps"),
        QStringLiteral("Reduce to 256 kbps"), QStringLiteral("Reduce to 320 kbps"),
    };
    return entries;
}

QString ReduceEntryCaption(const QString& entry) {
    return QCoreApplication::translate("ReduceOptions", "Reduce to %1 kbps").arg(TargetKbps(entry));
}

qint16 TargetKbps(const QString& entryText) {
    // Consecutive blanks give empty pieces, so "Reduce  to 128" has no number
    // in its third piece.
    const QStringList pieces = entryText.split(u' ');
    if (pieces.size() < 3) {
        throw Failure(QStringLiteral("No target bitrate in \"%1\"").arg(entryText));
    }
    const double kbps = mp3::checked::RoundHalfEven(LeadingNumber(pieces[2]));
    if (kbps < -32768.0 || kbps > 32767.0) {
        throw Failure(QStringLiteral("Target bitrate out of range in \"%1\"").arg(entryText));
    }
    return static_cast<qint16>(kbps);
}

}  // namespace mirelune

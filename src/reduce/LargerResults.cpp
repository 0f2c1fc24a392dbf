// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/LargerResults.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>

#include "shell/CountedText.h"

namespace mirelune {
namespace {

QString SizeText(const QLocale& locale, qint64 bytes) {
    return locale.formattedDataSize(bytes, 1, QLocale::DataSizeIecFormat);
}

}  // namespace

QString SizeChange(const QLocale& locale, qint64 before, qint64 after) {
    return QCoreApplication::translate("LargerResults", "%1 → %2")
        .arg(SizeText(locale, before), SizeText(locale, after));
}

std::optional<qint64> FileBytes(const QString& path) {
    const QFileInfo file(path);
    if (!file.isFile()) {
        return std::nullopt;
    }
    return file.size();
}

QString LargerThanOriginal(const QLocale& locale, qint64 before, qint64 after) {
    return QCoreApplication::translate("LargerResults", "larger than the original (%1)")
        .arg(SizeChange(locale, before, after));
}

QString LargerResultsTail(int count) {
    if (count == 0) {
        return QString();
    }
    return CountedText(
        "LargerResults", QT_TRANSLATE_NOOP("LargerResults", "; 1 result larger than the original"),
        QT_TRANSLATE_N_NOOP("LargerResults", "; %n results larger than their originals"), count);
}

}  // namespace mirelune

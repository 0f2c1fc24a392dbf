// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/SettingsConversions.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace mirelune {

QString BooleanText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

qint16 ToIndex16(const QString& text) {
    static const QRegularExpression decimal(QStringLiteral("^[+-]?[0-9]+$"));
    const QString trimmed = text.trimmed();
    bool ok = false;
    const qlonglong value = decimal.match(trimmed).hasMatch() ? trimmed.toLongLong(&ok) : 0;
    if (!ok || value < std::numeric_limits<qint16>::min() ||
        value > std::numeric_limits<qint16>::max()) {
        throw ConversionFailure(QCoreApplication::translate("SettingsConversions",
                                                            "The stored value \"%1\" is not a "
                                                            "whole number from -32768 to 32767.")
                                    .arg(text));
    }
    return static_cast<qint16>(value);
}

bool ToBoolean(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
        return false;
    }
    bool ok = false;
    const double number = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(number)) {
        throw ConversionFailure(QCoreApplication::translate(
                                    "SettingsConversions",
                                    "The stored value \"%1\" is neither True, False nor a number.")
                                    .arg(text));
    }
    return number != 0.0;
}

}  // namespace mirelune

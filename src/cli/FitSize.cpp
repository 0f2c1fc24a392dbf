// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/FitSize.h"

#include <QRegularExpression>
#include <cmath>
#include <cstdlib>

namespace mirelune::cli {

std::optional<FitTarget> ParseFitTarget(const QString& text) {
    if (text.compare(QStringLiteral("free"), Qt::CaseInsensitive) == 0) {
        return FitTarget{true, 0};
    }
    static const QRegularExpression kSize(
        QStringLiteral("^([0-9]+)(?:\\.([0-9]+))?\\s*(?:([kmgt])(i?)b?|b)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = kSize.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const QString unit = match.captured(3).toLower();
    // "16G" and "16GiB" are binary; "16GB" counts as the label of a 16 GB stick does.
    const bool binary = !match.captured(4).isEmpty() ||
                        !text.endsWith(QLatin1Char('b'), Qt::CaseInsensitive) || unit.isEmpty();
    const long double base = binary ? 1024.0L : 1000.0L;
    const int power =
        unit.isEmpty() ? 0 : static_cast<int>(QStringLiteral("kmgt").indexOf(unit)) + 1;
    const long double number = std::strtold(
        (match.captured(1) + QLatin1Char('.') + match.captured(2)).toLatin1().constData(), nullptr);
    const long double bytes = std::floor(number * std::pow(base, power));
    if (!(bytes < 9223372036854775808.0L)) {
        return std::nullopt;
    }
    return FitTarget{false, static_cast<std::uint64_t>(bytes)};
}

}  // namespace mirelune::cli

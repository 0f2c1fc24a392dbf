// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ShellQuoting.h"

#include <algorithm>

namespace mirelune {
namespace {

bool IsBare(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           QStringLiteral("-_./+,:=@%").contains(c);
}

bool IsControl(QChar c) {
    return c != u'\n' && (c < u' ' || c == QChar(0x7F));
}

}  // namespace

QString ShellQuoted(const QString& text) {
    if (!text.isEmpty() && std::all_of(text.cbegin(), text.cend(), IsBare)) {
        return text;
    }
    QString quoted = QStringLiteral("'");
    for (const QChar c : text) {
        if (c == u'\'') {
            quoted += QStringLiteral("'\\''");
        } else if (IsControl(c)) {
            quoted += QStringLiteral("'\"$(printf '\\%1')\"'")
                          .arg(QString::number(c.unicode(), 8).rightJustified(3, u'0'));
        } else {
            quoted += c;
        }
    }
    return quoted + QLatin1Char('\'');
}

}  // namespace mirelune

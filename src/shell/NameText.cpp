// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/NameText.h"

#include <algorithm>

namespace mirelune {
namespace {

constexpr char16_t kStrayBase = 0xDC80;

bool IsStray(char16_t unit) {
    return unit >= kStrayBase && unit <= 0xDCFF;
}

bool IsControl(char16_t unit) {
    return unit < 0x20 || (unit >= 0x7F && unit <= 0x9F);
}

// Walks name's units, telling a surrogate pair apart from a stray byte's
// lone surrogate; visit returns false to stop.
template <typename Visit>
void ForEachUnit(const QString& name, Visit visit) {
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < name.size() &&
            QChar::isLowSurrogate(name[i + 1].unicode())) {
            if (!visit(name.mid(i, 2), false)) {
                return;
            }
            ++i;
        } else if (!visit(name.mid(i, 1), IsStray(unit))) {
            return;
        }
    }
}

QString Hex(unsigned value, int digits) {
    return QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

}  // namespace

int Utf8SequenceLength(const char* bytes, qsizetype size, qsizetype at) {
    const auto byte = [&](qsizetype k) { return static_cast<unsigned char>(bytes[at + k]); };
    const unsigned char lead = byte(0);
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (at + length > size) {
        return 0;
    }
    // Only the first continuation byte has a narrowed range.
    if (byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (int k = 2; k < length; ++k) {
        if (byte(k) < 0x80 || byte(k) > 0xBF) {
            return 0;
        }
    }
    return length;
}

QString EscapedNativeName(const QByteArray& raw) {
    QString name;
    name.reserve(raw.size());
    qsizetype at = 0;
    while (at < raw.size()) {
        const int length = Utf8SequenceLength(raw.constData(), raw.size(), at);
        if (length == 0) {
            name += QChar(
                static_cast<char16_t>(kStrayBase + static_cast<unsigned char>(raw[at]) - 0x80));
            ++at;
        } else {
            name += QString::fromUtf8(raw.constData() + at, length);
            at += length;
        }
    }
    return name;
}

QByteArray NativeNameBytes(const QString& name) {
    QByteArray raw;
    ForEachUnit(name, [&](const QString& unit, bool stray) {
        if (stray) {
            raw += static_cast<char>(unit[0].unicode() - kStrayBase + 0x80);
        } else {
            raw += unit.toUtf8();
        }
        return true;
    });
    return raw;
}

bool HoldsStrayBytes(const QString& name) {
    bool found = false;
    ForEachUnit(name, [&](const QString&, bool stray) {
        found = stray;
        return !stray;
    });
    return found;
}

QString NameWithReplacements(const QString& name) {
    QString text;
    ForEachUnit(name, [&](const QString& unit, bool stray) {
        text += stray ? QString(QChar::ReplacementCharacter) : unit;
        return true;
    });
    return text;
}

QString ShownPath(const QString& name) {
    const bool plain = std::none_of(name.cbegin(), name.cend(), [](QChar c) {
        return IsControl(c.unicode()) || IsStray(c.unicode());
    });
    if (plain) {
        return name;
    }
    QString shown = QStringLiteral("\"");
    ForEachUnit(name, [&](const QString& unit, bool stray) {
        const char16_t first = unit[0].unicode();
        if (stray) {
            shown += QStringLiteral("\\x") + Hex(first - kStrayBase + 0x80, 2);
        } else if (first < 0x80 && IsControl(first)) {
            shown += QStringLiteral("\\x") + Hex(first, 2);
        } else if (IsControl(first)) {
            shown += QStringLiteral("\\u") + Hex(first, 4);
        } else if (first == u'\\' || first == u'"') {
            shown += QLatin1Char('\\') + unit;
        } else {
            shown += unit;
        }
        return true;
    });
    return shown + QLatin1Char('"');
}

QString ShownPath(const QByteArray& raw) {
    return ShownPath(EscapedNativeName(raw));
}

}  // namespace mirelune

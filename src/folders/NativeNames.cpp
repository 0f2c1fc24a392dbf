// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/NativeNames.h"

#include <QFile>
#include <cstring>

namespace mirelune {

bool DecodeNativeName(const char* raw, QString& name) {
    const QByteArray bytes = QByteArray::fromRawData(raw, static_cast<qsizetype>(std::strlen(raw)));
    name = QFile::decodeName(bytes);
    return QFile::encodeName(name) == bytes;
}

bool EncodeNativePath(const QString& path, QByteArray& native) {
    if (path.isEmpty() || path.contains(QChar(0))) {
        return false;
    }
    native = QFile::encodeName(path);
    return QFile::decodeName(native) == path;
}

namespace {

// The length of the valid UTF-8 sequence at bytes[at] (RFC 3629: no overlong
// forms, no surrogates, nothing above U+10FFFF), or 0 when there is none.
int Utf8SequenceLength(const QByteArray& bytes, qsizetype at) {
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
    if (at + length > bytes.size()) {
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

}  // namespace

QString ShownName(const QByteArray& raw) {
    QString shown;
    shown.reserve(raw.size());
    qsizetype at = 0;
    while (at < raw.size()) {
        const int length = Utf8SequenceLength(raw, at);
        if (length == 0) {
            const auto byte = static_cast<unsigned char>(raw[at]);
            shown += QStringLiteral("\\x") +
                     QString::number(byte, 16).toUpper().rightJustified(2, QLatin1Char('0'));
            ++at;
        } else {
            shown += QString::fromUtf8(raw.constData() + at, length);
            at += length;
        }
    }
    return shown;
}

}  // namespace mirelune

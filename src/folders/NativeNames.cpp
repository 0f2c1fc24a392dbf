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

}  // namespace mirelune

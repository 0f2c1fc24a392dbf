// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/PathList.h"

#include <QFile>
#include <cstdio>

#include "folders/NativeNames.h"

namespace mirelune::cli {

QByteArrayList SplitPathList(const QByteArray& bytes, bool nulSeparated) {
    QByteArrayList paths = bytes.split(nulSeparated ? '\0' : '\n');
    paths.removeAll(QByteArray());
    return paths;
}

std::optional<QByteArray> ReadPathList(const QString& file, QString& error) {
    QFile list(file);
    const bool open = file == QStringLiteral("-") ? list.open(stdin, QIODevice::ReadOnly)
                                                  : list.open(QIODevice::ReadOnly);
    if (!open) {
        error = list.errorString();
        return std::nullopt;
    }
    QByteArray bytes = list.readAll();
    if (list.error() != QFileDevice::NoError) {
        error = list.errorString();
        return std::nullopt;
    }
    return bytes;
}

std::optional<QString> PathText(const QByteArray& native) {
    QString text;
    if (native.contains('\0') || !DecodeNativeName(native.constData(), text)) {
        return std::nullopt;
    }
    return text;
}

}  // namespace mirelune::cli

// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/PathJson.h"

#include <QByteArray>
#include <QJsonValue>

#include "cli/FileReport.h"
#include "shell/NameText.h"

namespace mirelune::cli {
namespace {

QString Base64Key(const QString& key) {
    return key + QStringLiteral("_base64");
}

bool IsUtf8(const std::string& raw) {
    const auto size = static_cast<qsizetype>(raw.size());
    for (qsizetype at = 0; at < size;) {
        const int length = Utf8SequenceLength(raw.data(), size, at);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

}  // namespace

void InsertPath(QJsonObject& object, const QString& key, const QString& path) {
    if (path.isEmpty()) {
        object.insert(key, QJsonValue(QJsonValue::Null));
        return;
    }
    object.insert(key, NameWithReplacements(path));
    if (HoldsStrayBytes(path)) {
        object.insert(Base64Key(key), QString::fromLatin1(NativeNameBytes(path).toBase64()));
    }
}

void AppendPathJson(std::string& out, const char* key, const std::string& raw) {
    out += '"';
    out += key;
    out += "\":";
    if (IsUtf8(raw)) {
        AppendJsonString(out, raw);
        return;
    }
    const QByteArray bytes = QByteArray::fromStdString(raw);
    AppendJsonString(out, NameWithReplacements(EscapedNativeName(bytes)).toStdString());
    out += ",\"";
    out += key;
    out += "_base64\":\"";
    out += bytes.toBase64().toStdString();
    out += '"';
}

}  // namespace mirelune::cli

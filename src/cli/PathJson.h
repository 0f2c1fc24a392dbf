// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <QString>
#include <string>

namespace mirelune::cli {

// Every path in JSON names one file only. key holds the path as text, each
// byte that is not UTF-8 as U+FFFD; when there is such a byte, key + "_base64"
// holds the path's bytes, base64-encoded, and is the one to use. The second
// field is left out for every other path, so a path whose text holds U+FFFD
// or "\xE9" literally is never taken for one that does not. An empty path is
// null.
void InsertPath(QJsonObject& object, const QString& key, const QString& path);

// The same for `info`'s hand-written records: appends "key":... and, when
// needed, ,"key_base64":"..." for the path's raw bytes.
void AppendPathJson(std::string& out, const char* key, const std::string& raw);

}  // namespace mirelune::cli

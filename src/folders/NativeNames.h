// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace mirelune {

// A name as the file system holds it (bytes) turned into text. False when the
// bytes are not valid in the file-name encoding: the text could not name the
// same file again, so such a name is of no use to anything that keeps paths
// as text.
bool DecodeNativeName(const char* raw, QString& name);

// The bytes the system will see for path; false when the text cannot get
// there intact (an embedded NUL would cut it, a lone surrogate has no bytes).
bool EncodeNativePath(const QString& path, QByteArray& native);

}  // namespace mirelune

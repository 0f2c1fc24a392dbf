// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <optional>

namespace mirelune::cli {

// The paths of a --from list as bytes: one per line, or separated by NUL
// bytes as find -print0 writes them. Nothing is trimmed or unquoted, since a
// file name may hold spaces and quotes; empty entries name nothing and are
// dropped.
QByteArrayList SplitPathList(const QByteArray& bytes, bool nulSeparated);

// The whole of file, or of standard input for "-"; nothing and the reason
// when it cannot be read.
std::optional<QByteArray> ReadPathList(const QString& file, QString& error);

// A path given as bytes as text, when the text names the same file again: a
// name that is not valid in the file-name encoding, or that holds a NUL,
// would name another file or none.
std::optional<QString> PathText(const QByteArray& native);

}  // namespace mirelune::cli

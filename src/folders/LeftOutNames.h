// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

namespace mirelune {

// Told of each file or folder that a listing or a walk met but cannot take,
// with its path (escaped, see EscapedNativeName, when not UTF-8) and why, so that
// nothing is left out in silence.
using LeftOutNotice = std::function<void(const QString& shownPath, const QString& reason)>;

namespace left_out {

// Shown through QCoreApplication::translate in this context: the window
// speaks the user's language, the command line (no translation) English.
inline constexpr char kContext[] = "LeftOutNames";
// A file whose name no text can hold: it cannot be named to read it.
inline constexpr char kNameNotUtf8[] = QT_TRANSLATE_NOOP("LeftOutNames", "name is not valid UTF-8");
inline constexpr char kFolderNameNotUtf8[] =
    QT_TRANSLATE_NOOP("LeftOutNames", "folder skipped: name is not valid UTF-8");
// The name rules (IsWalkableFolderName).
inline constexpr char kUnsafeFolderName[] =
    QT_TRANSLATE_NOOP("LeftOutNames", "folder skipped: name holds a control character");
inline constexpr char kFolderPathTooLong[] =
    QT_TRANSLATE_NOOP("LeftOutNames", "folder skipped: path too long");

}  // namespace left_out

}  // namespace mirelune

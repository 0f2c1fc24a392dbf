// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace mirelune {

// File names as the system holds them are bytes, and not every name is valid
// UTF-8. A name that is not is carried as text all the same, losslessly: each
// byte outside a valid sequence becomes the lone surrogate U+DC80 + (byte -
// 0x80). Valid UTF-8 never decodes to a lone surrogate, so such a name is
// never taken for another one, and the system never opens it: encoding it
// back for a file operation fails (EncodeNativePath).

// raw as text, each stray byte as its lone surrogate.
QString EscapedNativeName(const QByteArray& raw);

// The bytes an escaped name stands for: UTF-8, stray bytes as they were.
QByteArray NativeNameBytes(const QString& name);

// Whether name holds stray bytes (it came from EscapedNativeName of a name
// that is not valid UTF-8).
bool HoldsStrayBytes(const QString& name);

// The name with each stray byte as U+FFFD, for readers that need valid text.
QString NameWithReplacements(const QString& name);

// How every report, in the terminal and in the window, shows a name. A name
// is shown as it is unless it holds a control character (below U+0020, or
// U+007F to U+009F) or a stray byte: such a name could change the terminal
// or hide what it is. It is then shown in double quotes, with "\xNN" for each
// stray byte and each control character up to U+007F, "\u0080" to "\u009F"
// for the others, and "\\" and "\"" for a backslash and a double quote, so
// the quoted form names one file only.
QString ShownPath(const QString& name);

// The same for a name given as bytes, e.g. a command-line argument.
QString ShownPath(const QByteArray& raw);

// The length of the valid UTF-8 sequence at bytes[at] (RFC 3629: no overlong
// forms, no surrogates, nothing above U+10FFFF), or 0 when there is none.
int Utf8SequenceLength(const char* bytes, qsizetype size, qsizetype at);

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace mirelune {

// text as one word of a POSIX shell command, safe to paste: nothing in it
// expands, whatever it holds. Words of only letters, digits and "-_./+,:=@%"
// stay bare; any other word goes in single quotes, with each "'" as '\''. A
// control character (other than a line break, which a quoted word holds as
// it is) is written as "$(printf '\NNN')" in double quotes, so the line
// shows no raw control and the shell gives back the same character.
QString ShellQuoted(const QString& text);

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

namespace mirelune {

// What a held output name holds until its result is in place: this line,
// the owner's two lines (see OwnerLines) and a tag, one of a kind.
const QByteArray& UnfinishedMarkLine();

// A new mark of this process. The random tag makes each mark one of a kind,
// so a file that holds it is the reservation that wrote it, also where inode
// numbers are not stable.
QByteArray NewUnfinishedMark();

// Whether text is a tag as NewUnfinishedMark writes it: a number in base 36.
bool IsUnfinishedMarkTag(const QByteArray& text);

}  // namespace mirelune

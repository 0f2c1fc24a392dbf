// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace mirelune {

inline constexpr char kProductName[] = "Mirelune";
inline constexpr int kMaxApplicationTitleLength = 40;

// Drops the last word at least once, then more words until the text fits in
// kMaxApplicationTitleLength characters. A name with no blank to cut at is
// kept whole, cut to kMaxApplicationTitleLength characters when longer.
QString ApplicationTitleFor(const QString& productName);

}  // namespace mirelune

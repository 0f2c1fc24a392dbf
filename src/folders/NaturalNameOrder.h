// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <vector>

namespace mirelune {

// The order a file manager shows a folder in, the same in every locale (the C
// locale too), so a walk gives the same rows on every machine:
//  - letters compare without regard to case (Unicode case folding);
//  - a run of ASCII digits compares by its value, so "Track 2" comes before
//    "Track 10"; leading zeros count only when all else is equal;
//  - names equal by those rules are ordered by their UTF-8 bytes, so two
//    different names never compare equal.
bool NaturalNameLess(const QString& a, const QString& b);

// Sorts names by NaturalNameLess, working out each name's folded form once.
void SortNaturally(QStringList& names);

// The positions of names in the order of NaturalNameLess, for sorting what
// goes with each name.
std::vector<std::size_t> NaturalOrderOf(const QStringList& names);

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace mirelune {

enum class Replace { No, Yes };

// The one system call a result's placement uses beyond plain reads and
// writes. FAT and exFAT drivers, phones and many network shares refuse it;
// tests hand in one that does, to see the way such targets take.
struct PlacementCalls {
    // Swaps the two names at once (renameat2 with RENAME_EXCHANGE): 0, or
    // the system's error number.
    int (*exchange)(const QByteArray& a, const QByteArray& b);
};
const PlacementCalls& SystemPlacementCalls();

// Whether an error of PlacementCalls::exchange means the file system has no
// such call, rather than that this swap failed.
bool ExchangeUnsupported(int error);

// Moves a finished result from its temporary name onto its output path,
// replacing whatever is there: for results the user let replace a file.
// Returns 0, or the system's error number.
int MoveIntoPlace(const QString& from, const QString& to);

}  // namespace mirelune

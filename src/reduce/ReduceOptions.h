// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace mirelune {

// The target bitrates offered, in the order of the drop-down list.
const QStringList& ReduceEntries();
// "Reduce to 128 kbps".
constexpr int kDefaultReduceEntry = 8;

// The bitrate in kbps named by an entry text: its third blank-separated
// piece's leading number. Throws Failure for a text of fewer than three pieces
// or a number outside the 16-bit range.
qint16 TargetKbps(const QString& entryText);

// How an entry is shown: the entry itself in English, else its translation.
// The list keeps the entry as its item data, since only that is parsed.
QString ReduceEntryCaption(const QString& entry);

// The user's choices for the next reduce job, read from the controls when a
// step needs them.
struct ReduceOptions {
    QString entryText;     // the chosen Combo1 entry
    bool option1 = false;  // results into outputFolder
    bool option2 = false;  // results beside each source
    QString outputFolder;  // Text1
};

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <vector>

#include "runs/ResultRecord.h"

namespace mirelune {

// A record with the owner of the journal that holds it: a record speaks
// only for files of that owner (or any, in a journal of root's).
struct JournalRecord {
    ResultRecord record;
    unsigned owner = 0;
};

// What the journals of one folder hold.
struct JournalRecords {
    std::vector<JournalRecord> records;
    // Journals or lines passed over for their size, one line each.
    std::vector<QString> warnings;
};

// Reads are bounded: a journal over this size is passed over...
inline constexpr qint64 kMaxJournalBytes = 64LL * 1024 * 1024;
// ...and so is a line over this one...
inline constexpr qint64 kMaxRecordLineBytes = 64 * 1024;
// ...and planning reads at most this many journals in one folder (in name
// order), one per run that wrote there, and at most this much of them
// together.
inline constexpr int kMaxJournalsRead = 4096;
inline constexpr qint64 kMaxRecordBytesRead = 256LL * 1024 * 1024;

// Every record in the journals kept for root, in journal-name order and line
// order; a record made before placing is left out where the same journal
// says later that it was placed. Only regular files in a record folder that is a real folder are
// read, opened without following a link or waiting; lines that are not
// records are passed over.
JournalRecords ReadRecords(const QString& root);

}  // namespace mirelune

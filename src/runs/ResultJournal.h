// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "folders/FileStamp.h"
#include "shell/PathHelpers.h"

namespace mirelune {

// The records are kept in the folder's kRecordFolderName folder, one
// journal per run that wrote there.

// That a result was made from a source: the result's name relative to the
// folder whose journal holds the record, the source's absolute path, and
// both files' stamps as they were when the result was made. A record is
// written twice: once just before the result takes its name, with the
// result's content hash, and once it is there whole, its bytes down and its
// time set, without the hash and with the stamp it really has.
struct ResultRecord {
    QString result;
    FileStamp resultStamp;
    QString source;
    FileStamp sourceStamp;
    // SHA-256 of the result, lower-case hex; empty once placed.
    QByteArray sha256 = {};
};

// One record as one line of text, tab-separated:
//   made <TAB> result <TAB> size <TAB> time <TAB> source <TAB> size <TAB> time
// and before placing, one field more: <TAB> sha256:<64 hex digits>. Times
// in ISO 8601 UTC, names as their bytes on disk, where a backslash, tab,
// carriage return or line feed is written \\, \t, \r, \n. Versions that
// know only the first form pass over lines with another number of fields,
// so they see a result only once it is placed.
QByteArray RecordLine(const ResultRecord& record);
// The record a whole line (its line feed included) holds; nothing for a
// line cut short by a crash or anything else that is not a record.
std::optional<ResultRecord> ParseRecordLine(const QByteArray& line);

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

// The journal this run appends to in one folder. Each writer has a file of
// its own (host, process and a random tag in its name), so runs on several
// machines can write into one shared folder at once without locks, and each
// record is one write, made durable before its result takes its name.
class ResultJournal {
  public:
    explicit ResultJournal(QString root);
    ~ResultJournal();
    ResultJournal(const ResultJournal&) = delete;
    ResultJournal& operator=(const ResultJournal&) = delete;

    // Empty when the record is down on disk; otherwise why it is not. The
    // journal's file is made by the first record.
    QString append(const ResultRecord& record);

  private:
    QString root_;
    int fd_ = -1;
    QString path_;
    bool madeFolder_ = false;
};

// The journals of one run, one per folder written to.
class ResultJournals {
  public:
    ResultJournal& journalFor(const QString& root);

  private:
    std::map<QString, std::unique_ptr<ResultJournal>> journals_;
};

}  // namespace mirelune

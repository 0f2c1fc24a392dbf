// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "folders/FileStamp.h"

namespace mirelune {

// The records are kept in the folder's kRecordFolderName folder, one
// journal per run that wrote there.
QString RecordFolderOf(const QString& root);

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

}  // namespace mirelune

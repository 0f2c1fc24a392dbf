// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>

#include "mp3/AnalysisError.h"
#include "mp3/MP3Info.h"

namespace mirelune::cli {

// What `info` learned about one path: the analysis result, or why there is none.
struct FileReport {
    enum class Status { Valid, NotMp3, AnalysisFailed, Missing, Folder, Unreadable };

    std::string path;  // the bytes given, UTF-8 or not
    Status status = Status::NotMp3;
    std::optional<mp3::AnalysisError::Kind> errorKind;
    std::string errorText;
};

// Analyses one file with the shared MP3Info object. The raw bytes of the
// path are used for the file system so names in any encoding can be read.
// With explainRefusal, a refused path is looked at again to tell a missing
// path, a folder or an unreadable file from a file that is not MP3.
FileReport AnalyseFile(const QByteArray& nativePath, mp3::MP3Info& info, bool explainRefusal);

// Appends text as a JSON string literal, quotes included.
void AppendJsonString(std::string& out, const std::string& text);

// "song.mp3: 128 kbps, MPEG 1 Layer III, 44100 Hz, stereo, 4:10, CBR"
std::string ReportLine(const FileReport& report, const mp3::MP3Info& info);

// Appends one JSON Lines record, with its newline, to out. Written by hand
// rather than through QJsonDocument: the record's keys keep their documented
// order, and building a QJsonObject per file cost three times the file's
// own reading.
void AppendReportJson(std::string& out, const FileReport& report, const mp3::MP3Info& info);

// m:ss, truncated to whole seconds.
std::string DurationText(double milliseconds);

}  // namespace mirelune::cli

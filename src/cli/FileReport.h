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

    QString path;
    Status status = Status::NotMp3;
    std::optional<mp3::AnalysisError::Kind> errorKind;
    QString errorText;
};

// Analyses one file with the shared MP3Info object. The raw bytes of the
// path are used for the file system so names in any encoding can be read.
FileReport AnalyseFile(const QString& path, const QByteArray& nativePath, mp3::MP3Info& info);

// "song.mp3: 128 kbps, MPEG 1 Layer III, 44100 Hz, stereo, 4:10, CBR"
QString ReportLine(const FileReport& report, const mp3::MP3Info& info);

// One JSON Lines record, without the trailing newline.
QByteArray ReportJson(const FileReport& report, const mp3::MP3Info& info);

// m:ss, truncated to whole seconds.
QString DurationText(double milliseconds);

}  // namespace mirelune::cli

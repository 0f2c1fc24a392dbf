#include "FileReport.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <cmath>

#include "mp3/BitrateText.h"

namespace mirelune::cli {

FileReport AnalyseFile(const QString& path, const QByteArray& nativePath, mp3::MP3Info& info) {
    FileReport report;
    report.path = path;
    try {
        if (info.ReadMP3Info(nativePath.toStdString())) {
            report.status = FileReport::Status::Valid;
            return report;
        }
    } catch (const mp3::AnalysisError& e) {
        report.status = FileReport::Status::AnalysisFailed;
        report.errorKind = e.kind();
        report.errorText = QString::fromStdString(e.what());
        return report;
    }
    // Only a refused file costs the extra look that explains the refusal.
    const QFileInfo fileInfo(QFile::decodeName(nativePath));
    if (!fileInfo.exists()) {
        report.status = FileReport::Status::Missing;
    } else if (fileInfo.isDir()) {
        report.status = FileReport::Status::Folder;
    } else if (!fileInfo.isFile() || !fileInfo.isReadable()) {
        report.status = FileReport::Status::Unreadable;
    } else {
        report.status = FileReport::Status::NotMp3;
    }
    return report;
}

QString DurationText(double milliseconds) {
    if (!std::isfinite(milliseconds) || milliseconds < 0) {
        return QStringLiteral("?:??");
    }
    const auto seconds = static_cast<long long>(milliseconds / 1000.0);
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

namespace {

QString LayerText(int layer) {
    switch (layer) {
        case 1:
            return QStringLiteral("I");
        case 2:
            return QStringLiteral("II");
        case 3:
            return QStringLiteral("III");
        default:
            return QStringLiteral("?");
    }
}

}  // namespace

QString ReportLine(const FileReport& report, const mp3::MP3Info& info) {
    const QString prefix = report.path + QStringLiteral(": ");
    switch (report.status) {
        case FileReport::Status::Valid:
            return prefix + QStringLiteral("%1, MPEG %2 Layer %3, %4 Hz, %5, %6, %7")
                                .arg(QString::fromStdString(mp3::BitrateText(info.Bitrate())))
                                .arg(static_cast<double>(info.MpegVersion()))
                                .arg(LayerText(info.Layer()))
                                .arg(info.Samplerate())
                                .arg(info.Channels() == 1 ? QStringLiteral("mono")
                                                          : QStringLiteral("stereo"))
                                .arg(DurationText(info.duration()))
                                .arg(info.IsVBR() ? QStringLiteral("VBR") : QStringLiteral("CBR"));
        case FileReport::Status::NotMp3:
            return prefix + QStringLiteral("not a valid MP3 file (no MPEG audio frames found)");
        case FileReport::Status::AnalysisFailed:
            return prefix + QStringLiteral("not a valid MP3 file (analysis failed: %1)")
                                .arg(report.errorText);
        case FileReport::Status::Missing:
            return prefix + QStringLiteral("no such file");
        case FileReport::Status::Folder:
            return prefix + QStringLiteral("is a folder, not a file");
        case FileReport::Status::Unreadable:
            return prefix + QStringLiteral("cannot be opened for reading");
    }
    return prefix;
}

QByteArray ReportJson(const FileReport& report, const mp3::MP3Info& info) {
    QJsonObject o;
    o.insert(QStringLiteral("path"), report.path);
    const bool valid = report.status == FileReport::Status::Valid;
    o.insert(QStringLiteral("valid"), valid);
    o.insert(QStringLiteral("error"),
             report.errorKind
                 ? QJsonValue(QString::fromLatin1(mp3::AnalysisError::KindName(*report.errorKind)))
                 : QJsonValue(QJsonValue::Null));
    if (valid) {
        o.insert(QStringLiteral("first_frame"), info.FirstFrame());
        o.insert(QStringLiteral("duration_ms"), info.duration());
        o.insert(QStringLiteral("channels"), info.Channels());
        o.insert(QStringLiteral("sample_rate"), info.Samplerate());
        o.insert(QStringLiteral("bitrate"), info.Bitrate());
        o.insert(QStringLiteral("file_size"), info.FileSize());
        o.insert(QStringLiteral("mpeg_bytes"), static_cast<qint64>(info.MpegBytes()));
        o.insert(QStringLiteral("frames"), info.Frames());
        o.insert(QStringLiteral("layer"), info.Layer());
        o.insert(QStringLiteral("mpeg_version"), static_cast<double>(info.MpegVersion()));
        o.insert(QStringLiteral("copyright"), info.CopyrightBit());
        o.insert(QStringLiteral("original"), info.OriginalBit());
        o.insert(QStringLiteral("private"), info.PrivateBit());
        o.insert(QStringLiteral("protected"), info.Protected());
        o.insert(QStringLiteral("emphasis"), info.Emphasis());
        o.insert(QStringLiteral("is_vbr"), info.IsVBR());
    }
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

}  // namespace mirelune::cli

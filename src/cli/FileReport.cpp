// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileReport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "cli/PathJson.h"
#include "mp3/BitrateText.h"
#include "shell/NameText.h"

namespace mirelune::cli {

FileReport AnalyseFile(const QByteArray& nativePath, mp3::MP3Info& info, bool explainRefusal) {
    FileReport report;
    report.path = nativePath.toStdString();
    try {
        if (info.ReadMP3Info(nativePath.toStdString())) {
            report.status = FileReport::Status::Valid;
            return report;
        }
    } catch (const mp3::AnalysisError& e) {
        report.status = FileReport::Status::AnalysisFailed;
        report.errorKind = e.kind();
        report.errorText = e.what();
        return report;
    }
    report.status = FileReport::Status::NotMp3;
    if (!explainRefusal) {
        return report;
    }
    // Asked by the bytes: a name that is not UTF-8 has no text to ask by.
    struct stat status {};
    if (::stat(nativePath.constData(), &status) != 0) {
        report.status = FileReport::Status::Missing;
    } else if (S_ISDIR(status.st_mode)) {
        report.status = FileReport::Status::Folder;
    } else if (!S_ISREG(status.st_mode) || ::access(nativePath.constData(), R_OK) != 0) {
        report.status = FileReport::Status::Unreadable;
    }
    return report;
}

std::string DurationText(double milliseconds) {
    if (!std::isfinite(milliseconds) || milliseconds < 0) {
        return "?:??";
    }
    const auto seconds = static_cast<long long>(milliseconds / 1000.0);
    const long long s = seconds % 60;
    return std::to_string(seconds / 60) + (s < 10 ? ":0" : ":") + std::to_string(s);
}

namespace {

const char* LayerText(int layer) {
    switch (layer) {
        case 1:
            return "I";
        case 2:
            return "II";
        case 3:
            return "III";
        default:
            return "?";
    }
}

const char* VersionText(float version) {
    if (version == 1.0f) {
        return "1";
    }
    if (version == 2.0f) {
        return "2";
    }
    return version == 2.5f ? "2.5" : "?";
}

// Writes into a fixed buffer: one record's fields, path aside, fit easily.
class FieldWriter {
  public:
    template <std::size_t N>
    void Literal(const char (&text)[N]) {
        std::memcpy(end_, text, N - 1);
        end_ += N - 1;
    }
    void Number(long long value) {
        end_ = std::to_chars(end_, buffer_ + sizeof buffer_, value).ptr;
    }
    void Number(double value) {
        if (!std::isfinite(value)) {
            Literal("null");  // JSON has no infinities; the analysis never yields them
            return;
        }
        end_ = std::to_chars(end_, buffer_ + sizeof buffer_, value).ptr;
    }
    void Bool(bool value) {
        if (value) {
            Literal("true");
        } else {
            Literal("false");
        }
    }
    void AppendTo(std::string& out) const {
        out.append(buffer_, static_cast<std::size_t>(end_ - buffer_));
    }

  private:
    char buffer_[512];
    char* end_ = buffer_;
};

}  // namespace

void AppendJsonString(std::string& out, const std::string& text) {
    static const char kHex[] = "0123456789abcdef";
    out += '"';
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != '"' && c != '\\') {
            continue;
        }
        out.append(text, runStart, i - runStart);
        runStart = i + 1;
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += "\\u00";
                out += kHex[c >> 4];
                out += kHex[c & 0xF];
        }
    }
    out.append(text, runStart, std::string::npos);
    out += '"';
}

std::string ReportLine(const FileReport& report, const mp3::MP3Info& info) {
    // Most names are plain ASCII and need no look at their text.
    const bool plain = std::all_of(report.path.begin(), report.path.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x20 && byte < 0x7F;
    });
    std::string line =
        (plain ? report.path : ShownPath(QByteArray::fromStdString(report.path)).toStdString()) +
        ": ";
    switch (report.status) {
        case FileReport::Status::Valid:
            line += mp3::BitrateText(info.Bitrate());
            line += ", MPEG ";
            line += VersionText(info.MpegVersion());
            line += " Layer ";
            line += LayerText(info.Layer());
            line += ", " + std::to_string(info.Samplerate()) + " Hz, ";
            line += info.Channels() == 1 ? "mono, " : "stereo, ";
            line += DurationText(info.duration());
            line += info.IsVBR() ? ", VBR" : ", CBR";
            break;
        case FileReport::Status::NotMp3:
            line += "not a valid MP3 file (no MPEG audio frames found)";
            break;
        case FileReport::Status::AnalysisFailed:
            line += "not a valid MP3 file (analysis failed: " + report.errorText + ")";
            break;
        case FileReport::Status::Missing:
            line += "no such file";
            break;
        case FileReport::Status::Folder:
            line += "is a folder, not a file";
            break;
        case FileReport::Status::Unreadable:
            line += "cannot be opened for reading";
            break;
    }
    return line;
}

void AppendReportJson(std::string& out, const FileReport& report, const mp3::MP3Info& info) {
    const bool valid = report.status == FileReport::Status::Valid;
    out += '{';
    AppendPathJson(out, "path", report.path);
    FieldWriter w;
    w.Literal(",\"valid\":");
    w.Bool(valid);
    if (!report.errorKind) {
        w.Literal(",\"error\":null");
    } else if (*report.errorKind == mp3::AnalysisError::Kind::OutOfRange) {
        w.Literal(",\"error\":\"out of range\"");
    } else if (*report.errorKind == mp3::AnalysisError::Kind::Overflow) {
        w.Literal(",\"error\":\"overflow\"");
    } else {
        w.Literal(",\"error\":\"division by zero\"");
    }
    if (valid) {
        w.Literal(",\"first_frame\":");
        w.Number(static_cast<long long>(info.FirstFrame()));
        w.Literal(",\"duration_ms\":");
        w.Number(info.duration());
        w.Literal(",\"channels\":");
        w.Number(static_cast<long long>(info.Channels()));
        w.Literal(",\"sample_rate\":");
        w.Number(static_cast<long long>(info.Samplerate()));
        w.Literal(",\"bitrate\":");
        w.Number(static_cast<long long>(info.Bitrate()));
        w.Literal(",\"file_size\":");
        w.Number(static_cast<long long>(info.FileSize()));
        w.Literal(",\"mpeg_bytes\":");
        w.Number(static_cast<long long>(info.MpegBytes()));
        w.Literal(",\"frames\":");
        w.Number(static_cast<long long>(info.Frames()));
        w.Literal(",\"layer\":");
        w.Number(static_cast<long long>(info.Layer()));
        // Always with a decimal point: 1.0, 2.0 or 2.5.
        const float version = info.MpegVersion();
        if (version == 2.5f) {
            w.Literal(",\"mpeg_version\":2.5");
        } else if (version == 2.0f) {
            w.Literal(",\"mpeg_version\":2.0");
        } else if (version == 1.0f) {
            w.Literal(",\"mpeg_version\":1.0");
        } else {
            w.Literal(",\"mpeg_version\":0.0");
        }
        w.Literal(",\"copyright\":");
        w.Bool(info.CopyrightBit());
        w.Literal(",\"original\":");
        w.Bool(info.OriginalBit());
        w.Literal(",\"private\":");
        w.Bool(info.PrivateBit());
        w.Literal(",\"protected\":");
        w.Bool(info.Protected());
        w.Literal(",\"emphasis\":");
        w.Bool(info.Emphasis());
        w.Literal(",\"is_vbr\":");
        w.Bool(info.IsVBR());
    }
    w.Literal("}\n");
    w.AppendTo(out);
}

}  // namespace mirelune::cli

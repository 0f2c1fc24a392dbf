// SPDX-License-Identifier: GPL-3.0-or-later
#include "InfoCommand.h"

#include <cstdio>
#include <string>

#include "FileReport.h"
#include "mp3/MP3Info.h"

namespace mirelune::cli {

int RunInfo(const CommandArguments& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Describe MP3 files: bitrate, MPEG version and layer, sample rate, "
                       "channels, duration, CBR or VBR."));
    const QCommandLineOption jsonOption(
        QStringLiteral("json"),
        QStringLiteral("One JSON object per file (JSON Lines) instead of one line of text "
                       "(default: text)."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("MP3 files to describe."),
                                 QStringLiteral("FILE..."));
    if (!ParseOrExplain(parser, args, {jsonOption})) {
        return kExitUsage;
    }
    if (const std::optional<int> answered =
            AnswerCommonOptions(parser, args, {jsonOption}, QStringLiteral("FILE..."))) {
        return *answered;
    }
    const QStringList paths = parser.positionalArguments();
    if (paths.isEmpty()) {
        return UsageError(args, QStringLiteral("no FILE given"));
    }
    const QByteArrayList native = NativePositionals(args, paths);
    const bool json = parser.isSet(jsonOption);

    // Results stream out in chunks, so memory stays flat however many files
    // are named.
    std::string out;
    out.reserve(1 << 17);
    mp3::MP3Info info;
    bool allValid = true;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const FileReport report = AnalyseFile(native[i], info, !json);
        allValid = allValid && report.status == FileReport::Status::Valid;
        if (json) {
            AppendReportJson(out, report, info);
        } else {
            out += ReportLine(report, info);
            out += '\n';
        }
        if (out.size() >= (1 << 16)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    return allValid ? kExitOk : kExitSomeFailed;
}

}  // namespace mirelune::cli

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowCommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "folders/LeftOutNames.h"
#include "folders/NativeNames.h"
#include "shell/CommandLineText.h"
#include "shell/NameText.h"
#include "shell/PathHelpers.h"

namespace mirelune {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;
constexpr char kProgram[] = "mirelune";

// QGuiApplication's and QApplication's documented options. They are parsed
// here only so they are not refused; QApplication acts on them.
void AcceptQtOptions(QCommandLineParser& parser) {
    const char* const withValue[] = {"platform",    "platformpluginpath", "platformtheme",
                                     "plugin",      "qmljsdebugger",      "qwindowgeometry",
                                     "qwindowicon", "qwindowtitle",       "session",
                                     "display",     "geometry",           "style",
                                     "stylesheet"};
    const char* const flags[] = {"reverse", "widgetcount"};
    for (const char* name : withValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : flags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

// The bytes an argument came as: the first raw argument after from that
// decodes to it. from moves past it, so a name given twice is found twice.
std::optional<QByteArray> RawArgument(const QString& text, const QList<QByteArray>& raw,
                                      qsizetype& from) {
    for (qsizetype k = from; k < raw.size(); ++k) {
        if (QString::fromLocal8Bit(raw.at(k)) == text) {
            from = k + 1;
            return raw.at(k);
        }
    }
    return std::nullopt;
}

}  // namespace

QStringList ExistingPaths(const QStringList& paths, RefusedFiles& leftOut) {
    QStringList existing;
    for (const QString& path : paths) {
        if (PathExists(path)) {
            existing.append(path);
        } else {
            leftOut.leaveOut(path,
                             QCoreApplication::translate("WindowCommandLine", "does not exist"));
        }
    }
    return existing;
}

WindowCommandLine ParseWindowCommandLine(const QStringList& arguments, const QString& workingFolder,
                                         const QList<QByteArray>& rawArguments) {
    QCommandLineParser parser;
    // Qt's options are single-dash words such as -platform.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral(
        "Lists MP3 files with their bitrates and re-encodes them at a lower bitrate. Each FILE "
        "is added to the list as it is; each FOLDER is searched with all its sub-folders, as a "
        "drop on the list would be. Qt's own options, such as -platform and -style, are "
        "accepted as well."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Print the options and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Print the version and exit."));
    parser.addOptions({help, version, ListOptionsOption()});
    AcceptQtOptions(parser);
    parser.addPositionalArgument(QStringLiteral("FILE|FOLDER"),
                                 QStringLiteral("MP3 files to list, and folders to search for "
                                                "them (default: none, an empty list)."),
                                 QStringLiteral("[FILE|FOLDER...]"));

    const QString program = QString::fromLatin1(kProgram);
    WindowCommandLine result;
    if (!parser.parse(arguments)) {
        result.exitStatus = kExitUsage;
        result.standardError = UsageErrorText(program, parser.errorText(), program);
        return result;
    }
    if (parser.isSet(QStringLiteral("list-options"))) {
        result.exitStatus = kExitOk;
        result.standardOutput = OptionListText({help, version});
        return result;
    }
    if (parser.isSet(help)) {
        result.exitStatus = kExitOk;
        result.standardOutput =
            HelpText(parser, program + QStringLiteral(" [options] [FILE|FOLDER...]"));
        return result;
    }
    if (parser.isSet(version)) {
        result.exitStatus = kExitOk;
        result.standardOutput = VersionText(program);
        return result;
    }
    // A bare "song.mp3" would give a row with no folder, and its result
    // would be written beside nothing. An empty argument names nothing; made
    // absolute it would name the whole working folder.
    const QDir base(workingFolder);
    qsizetype rawFrom = 1;  // past the program's name
    for (const QString& path : parser.positionalArguments()) {
        if (path.isEmpty()) {
            continue;
        }
        const std::optional<QByteArray> raw = RawArgument(path, rawArguments, rawFrom);
        QString decoded;
        if (raw && !DecodeNativeName(raw->constData(), decoded)) {
            const QByteArray absolute = QDir::isAbsolutePath(path)
                                            ? *raw
                                            : QFile::encodeName(base.absolutePath()) +
                                                  QFile::encodeName(QDir::separator()) + *raw;
            result.leftOut.leaveOut(
                EscapedNativeName(absolute),
                QCoreApplication::translate(left_out::kContext, left_out::kNameNotUtf8));
            continue;
        }
        result.paths.append(QDir::toNativeSeparators(QDir::cleanPath(base.absoluteFilePath(path))));
    }
    return result;
}

}  // namespace mirelune

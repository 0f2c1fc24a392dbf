// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "shell/CommandLineText.h"
#include "shell/NameText.h"

namespace mirelune::cli {
namespace {

bool TakesValue(const QList<QCommandLineOption>& options, const QString& argument) {
    for (const QCommandLineOption& option : options) {
        if (option.valueName().isEmpty()) {
            continue;
        }
        for (const QString& name : option.names()) {
            if (argument ==
                (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name) {
                return true;
            }
        }
    }
    return false;
}

// The first argument read as options that is an existing file's name: Qt
// would report it as a run of unknown one-letter options.
std::optional<QString> FileTakenForOptions(const CommandArguments& args,
                                           const QList<QCommandLineOption>& options) {
    for (qsizetype i = 1; i < args.text.size(); ++i) {
        const QString& argument = args.text[i];
        if (argument == QStringLiteral("--")) {
            break;
        }
        if (argument.size() > 1 && argument.startsWith(QLatin1Char('-')) &&
            !TakesValue(options, args.text[i - 1]) && QFileInfo::exists(argument)) {
            return argument;
        }
    }
    return std::nullopt;
}

}  // namespace

QByteArrayList NativePositionals(const CommandArguments& args, const QStringList& positionals) {
    QByteArrayList result;
    result.reserve(positionals.size());
    qsizetype next = 1;  // skip the program name
    for (const QString& wanted : positionals) {
        QByteArray match = QFile::encodeName(wanted);
        for (qsizetype i = next; i < args.text.size() && i < args.native.size(); ++i) {
            if (args.text[i] == wanted) {
                match = args.native[i];
                next = i + 1;
                break;
            }
        }
        result.append(match);
    }
    return result;
}

QList<QCommandLineOption> CommonOptions() {
    // Not Qt's --help-all: the commands run no Qt options, and an option that
    // is neither help nor refused would let the command run.
    return {QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                               QStringLiteral("Print the options and exit.")),
            QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Print the version and exit.")),
            ListOptionsOption()};
}

bool ParseOrExplain(QCommandLineParser& parser, const CommandArguments& args,
                    const QList<QCommandLineOption>& options) {
    const QList<QCommandLineOption> all = CommonOptions() + options;
    parser.addOptions(all);
    if (parser.parse(args.text)) {
        return true;
    }
    QString problem = parser.errorText();
    if (const std::optional<QString> file = FileTakenForOptions(args, all)) {
        problem = QStringLiteral(
                      "unknown option %1: to name a file that starts with '-', put "
                      "-- before it (%2 [options] -- %1)")
                      .arg(ShownPath(*file), args.text.value(0));
    }
    UsageError(args, problem);
    return false;
}

std::optional<int> AnswerCommonOptions(const QCommandLineParser& parser,
                                       const CommandArguments& args,
                                       const QList<QCommandLineOption>& options,
                                       const QString& positionals) {
    const QString command = args.text.value(0);
    QString text;
    if (parser.isSet(QStringLiteral("list-options"))) {
        text = OptionListText(CommonOptions() + options);
    } else if (parser.isSet(QStringLiteral("help"))) {
        text = HelpText(parser, command + QStringLiteral(" [options] ") + positionals);
    } else if (parser.isSet(QStringLiteral("version"))) {
        text = VersionText(QStringLiteral("mirelune-cli"));
    } else {
        return std::nullopt;
    }
    std::fputs(qPrintable(text), stdout);
    return kExitOk;
}

int UsageError(const CommandArguments& args, const QString& message) {
    const QString command = args.text.value(0);
    std::fputs(qPrintable(UsageErrorText(command, message, command)), stderr);
    return kExitUsage;
}

}  // namespace mirelune::cli

// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <QFile>
#include <cstdio>

#include "shell/CommandLineText.h"

namespace mirelune::cli {

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

bool ParseOrExplain(QCommandLineParser& parser, const CommandArguments& args) {
    if (parser.parse(args.text)) {
        return true;
    }
    std::fputs(qPrintable(UsageErrorText(QStringLiteral("mirelune-cli"), parser.errorText(),
                                         args.text.value(0))),
               stderr);
    return false;
}

void AddHelpOption(QCommandLineParser& parser) {
    parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Print the options and exit.")));
}

void PrintHelp(const QCommandLineParser& parser, const CommandArguments& args,
               const QString& positionals) {
    std::fputs(qPrintable(HelpText(
                   parser, args.text.value(0) + QStringLiteral(" [options] ") + positionals)),
               stdout);
}

}  // namespace mirelune::cli

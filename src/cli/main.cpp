// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>
#include <cstdio>
#include <cstring>

#include "CommandLine.h"
#include "InfoCommand.h"
#include "ReduceCommand.h"
#include "shell/CommandLineText.h"

namespace {

const char kUsage[] =
    "Usage: mirelune-cli <command> [options]\n"
    "       mirelune-cli --help | --version\n"
    "\n"
    "Commands:\n"
    "  info [--json] FILE...   describe MP3 files\n"
    "  reduce [-b KBPS] (-o DIR | --beside) [options] PATH...\n"
    "                          re-encode MP3 files at a lower bitrate\n"
    "\n"
    "Options:\n"
    "  -h, --help     Print this help and exit.\n"
    "  -v, --version  Print the version and exit.\n"
    "\n"
    "Run 'mirelune-cli <command> --help' for a command's options and their defaults.\n";

bool Is(const char* argument, const char* shortName, const char* longName) {
    return std::strcmp(argument, shortName) == 0 || std::strcmp(argument, longName) == 0;
}

int UsageError(const QString& problem) {
    const QString program = QStringLiteral("mirelune-cli");
    std::fputs(qPrintable(mirelune::UsageErrorText(program, problem, program)), stderr);
    return mirelune::cli::kExitUsage;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mirelune-cli"));

    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return mirelune::cli::kExitUsage;
    }
    const char* command = argv[1];
    if (Is(command, "-h", "--help")) {
        std::fputs(kUsage, stdout);
        return mirelune::cli::kExitOk;
    }
    if (std::strcmp(command, "--list-options") == 0) {
        std::fputs(qPrintable(mirelune::OptionListText(
                       mirelune::cli::CommonOptions(),
                       {QStringLiteral("info"), QStringLiteral("reduce")})),
                   stdout);
        return mirelune::cli::kExitOk;
    }
    if (Is(command, "-v", "--version")) {
        std::fputs(qPrintable(mirelune::VersionText(QStringLiteral("mirelune-cli"))), stdout);
        return mirelune::cli::kExitOk;
    }

    // The command's own parser sees "mirelune-cli <command>" as its program name.
    mirelune::cli::CommandArguments args;
    args.text.append(QStringLiteral("mirelune-cli ") + QString::fromLocal8Bit(command));
    args.native.append(QByteArray(command));
    for (int i = 2; i < argc; ++i) {
        args.text.append(QString::fromLocal8Bit(argv[i]));
        args.native.append(QByteArray(argv[i]));
    }

    if (std::strcmp(command, "info") == 0) {
        return mirelune::cli::RunInfo(args);
    }
    if (std::strcmp(command, "reduce") == 0) {
        return mirelune::cli::RunReduce(args);
    }
    // Worded as Qt words the commands' own option errors.
    const QString given = QString::fromLocal8Bit(command);
    if (given.size() > 1 && given.startsWith(QLatin1Char('-'))) {
        QString name = given;
        while (name.startsWith(QLatin1Char('-'))) {
            name.remove(0, 1);
        }
        return UsageError(QStringLiteral("Unknown option '%1'.").arg(name));
    }
    return UsageError(QStringLiteral("Unknown command '%1'.").arg(given));
}

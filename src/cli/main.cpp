#include <QCoreApplication>
#include <cstdio>
#include <cstring>

#include "CommandLine.h"
#include "InfoCommand.h"
#include "ReduceCommand.h"

namespace {

const char kUsage[] =
    "Usage: mirelune-cli <command> [options]\n"
    "\n"
    "Commands:\n"
    "  info [--json] FILE...   describe MP3 files\n"
    "  reduce -b KBPS (-o DIR | --beside) [options] PATH...\n"
    "                          re-encode MP3 files at a lower bitrate\n"
    "\n"
    "Run 'mirelune-cli <command> --help' for a command's options.\n";

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mirelune-cli"));

    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return mirelune::cli::kExitUsage;
    }
    const char* command = argv[1];
    if (std::strcmp(command, "--help") == 0 || std::strcmp(command, "-h") == 0) {
        std::fputs(kUsage, stdout);
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
    std::fprintf(stderr, "mirelune-cli: unknown command '%s'\n\n%s", command, kUsage);
    return mirelune::cli::kExitUsage;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayList>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

namespace mirelune::cli {

// Exit statuses shared by every command; 130 is the shell's convention for a
// program ended by Ctrl+C, and is used for every signal that stops a run.
enum ExitStatus { kExitOk = 0, kExitSomeFailed = 1, kExitUsage = 2, kExitInterrupted = 130 };

// A command's arguments as text for the parser, and as the raw bytes the
// shell passed, so a file name that is not valid in the locale's encoding can
// still be opened.
struct CommandArguments {
    QStringList text;       // program name first, as QCommandLineParser expects
    QByteArrayList native;  // the same arguments, undecoded
};

// The raw bytes of each positional argument, matched in order against the
// decoded command line.
QByteArrayList NativePositionals(const CommandArguments& args, const QStringList& positionals);

// Parses args with parser; on a usage error prints it with the help hint and
// returns false.
bool ParseOrExplain(QCommandLineParser& parser, const CommandArguments& args);

// -h, --help, without Qt's --help-all: the commands run no Qt options, and an
// option that is neither help nor refused would let the command run.
void AddHelpOption(QCommandLineParser& parser);
// Prints the command's help, whose usage line names the command, then
// "[options]" and the positional syntax such as "PATH...".
void PrintHelp(const QCommandLineParser& parser, const CommandArguments& args,
               const QString& positionals);

}  // namespace mirelune::cli

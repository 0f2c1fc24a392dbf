// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayList>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace mirelune::cli {

// Exit statuses shared by every command; 130 is the shell's convention for a
// program ended by Ctrl+C, and is used for every signal that stops a run.
enum ExitStatus {
    kExitOk = 0,
    kExitSomeFailed = 1,
    kExitUsage = 2,
    kExitNothingFits = 3,  // --fit found no bitrate whose results fit
    kExitInterrupted = 130
};

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

// What every command takes besides its own options: -h/--help, -v/--version
// (as at the top level), and the hidden --list-options for completion.
QList<QCommandLineOption> CommonOptions();

// Adds CommonOptions and then options to parser and parses args; on a usage
// error prints it with the help hint and returns false. An unknown option
// that names an existing file gets a hint to put "--" before it.
bool ParseOrExplain(QCommandLineParser& parser, const CommandArguments& args,
                    const QList<QCommandLineOption>& options);

// The exit status when a common option was given and answered (help with
// its usage line ending in positionals, such as "PATH..."); nothing when the
// command is to run.
std::optional<int> AnswerCommonOptions(const QCommandLineParser& parser,
                                       const CommandArguments& args,
                                       const QList<QCommandLineOption>& options,
                                       const QString& positionals);

// Prints "mirelune-cli <command>: message" and the help hint; kExitUsage.
int UsageError(const CommandArguments& args, const QString& message);

}  // namespace mirelune::cli

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineParser>
#include <QString>

namespace mirelune {

// The texts both programs print about their command lines, in one shape.

// --help: the parser's option list under the given usage line, such as
// "mirelune-cli reduce [options] PATH...". Qt's own usage line would name the
// program by whatever path it was started with, and no sub-command.
QString HelpText(const QCommandLineParser& parser, const QString& usage);

// --version: "mirelune 0.1.0", then the licence on a line of its own.
QString VersionText(const QString& program);

// For shell completion: each option shown in the help, one per line, as its
// names ("-b --bitrate"), then a tab and its value's name ("KBPS") when it
// takes one; then each of commands on a line of its own. Completion is built
// from this, never from the help text, whose lines are wrapped for reading.
QString OptionListText(const QList<QCommandLineOption>& options, const QStringList& commands = {});

// The option both programs keep out of their help for completion's sake.
QCommandLineOption ListOptionsOption();

// A usage error: one line naming the problem, one pointing to the help.
QString UsageErrorText(const QString& program, const QString& problem, const QString& helpCommand);

}  // namespace mirelune

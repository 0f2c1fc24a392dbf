// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace mirelune {

// One encoder run: the program and its arguments, handed to the system as a
// list, so no path is ever split or re-read by a shell.
struct EncoderCommand {
    QString program;
    QStringList arguments;
};

// -h -m s -b <kbps> <source> <output>: high quality, stereo, constant
// bitrate.
EncoderCommand MakeEncoderCommand(const QString& encoderPath, int kbps, const QString& source,
                                  const QString& output);

// The same run as one line of text for the user and for logs, each word
// quoted for a POSIX shell (ShellQuoted), so the line can be pasted and run.
QString EncoderCommandText(const QString& encoderPath, int kbps, const QString& source,
                           const QString& output);

}  // namespace mirelune

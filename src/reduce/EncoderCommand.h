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

// What one encoder run is asked to do: which encoder, at what bitrate, from
// which source into which file. Three paths side by side are named, never
// given by place.
struct EncoderTask {
    QString encoderPath{};
    int kbps = 128;
    QString source{};
    QString output{};
};

// -h -m s -b <kbps> <source> <output>: high quality, stereo, constant
// bitrate.
EncoderCommand MakeEncoderCommand(const EncoderTask& task);

// The same run as one line of text for the user and for logs, each word
// quoted for a POSIX shell (ShellQuoted), so the line can be pasted and run.
QString EncoderCommandText(const EncoderTask& task);

}  // namespace mirelune

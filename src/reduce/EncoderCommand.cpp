// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/EncoderCommand.h"

#include <algorithm>

#include "shell/ShellQuoting.h"

namespace mirelune {

EncoderCommand MakeEncoderCommand(const EncoderTask& task) {
    return {task.encoderPath,
            {QStringLiteral("-h"), QStringLiteral("-m"), QStringLiteral("s"), QStringLiteral("-b"),
             QString::number(task.kbps), task.source, task.output}};
}

QString EncoderCommandText(const EncoderTask& task) {
    QStringList words{task.encoderPath};
    words += MakeEncoderCommand(task).arguments;
    std::transform(words.begin(), words.end(), words.begin(), ShellQuoted);
    return words.join(QLatin1Char(' '));
}

}  // namespace mirelune

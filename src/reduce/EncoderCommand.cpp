// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/EncoderCommand.h"

#include <algorithm>

#include "shell/ShellQuoting.h"

namespace mirelune {

EncoderCommand MakeEncoderCommand(const QString& encoderPath, int kbps, const QString& source,
                                  const QString& output) {
    return {encoderPath,
            {QStringLiteral("-h"), QStringLiteral("-m"), QStringLiteral("s"), QStringLiteral("-b"),
             QString::number(kbps), source, output}};
}

QString EncoderCommandText(const QString& encoderPath, int kbps, const QString& source,
                           const QString& output) {
    QStringList words{encoderPath};
    words += MakeEncoderCommand(encoderPath, kbps, source, output).arguments;
    std::transform(words.begin(), words.end(), words.begin(), ShellQuoted);
    return words.join(QLatin1Char(' '));
}

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/EncoderCommand.h"

namespace mirelune {
namespace {

QString Quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

}  // namespace

EncoderCommand MakeEncoderCommand(const QString& encoderPath, int kbps, const QString& source,
                                  const QString& output) {
    return {encoderPath,
            {QStringLiteral("-h"), QStringLiteral("-m"), QStringLiteral("s"), QStringLiteral("-b"),
             QString::number(kbps), source, output}};
}

QString EncoderCommandText(const QString& encoderPath, int kbps, const QString& source,
                           const QString& output) {
    const QString encoderText = Quoted(encoderPath);
    const QString argumentText = QStringLiteral(" -h -m s -b ") + QString::number(kbps) +
                                 QLatin1Char(' ') + Quoted(source) + QLatin1Char(' ') +
                                 Quoted(output);
    return encoderText + argumentText;
}

}  // namespace mirelune

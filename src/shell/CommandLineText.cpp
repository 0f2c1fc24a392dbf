// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/CommandLineText.h"

#include "shell/ProductInfo.h"

namespace mirelune {

QString HelpText(const QCommandLineParser& parser, const QString& usage) {
    const QString qtText = parser.helpText();
    return QStringLiteral("Usage: ") + usage + qtText.mid(qtText.indexOf(QLatin1Char('\n')));
}

QString VersionText(const QString& program) {
    return program + QLatin1Char(' ') + ProductVersion() + QStringLiteral("\nLicence: ") +
           ProductLicence() + QLatin1Char('\n');
}

QString UsageErrorText(const QString& program, const QString& problem, const QString& helpCommand) {
    return QStringLiteral("%1: %2\nTry '%3 --help'.\n").arg(program, problem, helpCommand);
}

}  // namespace mirelune

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

QString OptionListText(const QList<QCommandLineOption>& options, const QStringList& commands) {
    QString text;
    for (const QCommandLineOption& option : options) {
        if (option.flags().testFlag(QCommandLineOption::HiddenFromHelp)) {
            continue;
        }
        QStringList dashed;
        for (const QString& name : option.names()) {
            dashed.append((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name);
        }
        text += dashed.join(QLatin1Char(' '));
        if (!option.valueName().isEmpty()) {
            text += QLatin1Char('\t') + option.valueName();
        }
        text += QLatin1Char('\n');
    }
    for (const QString& command : commands) {
        text += command + QLatin1Char('\n');
    }
    return text;
}

QCommandLineOption ListOptionsOption() {
    QCommandLineOption option(QStringLiteral("list-options"));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

QString UsageErrorText(const QString& program, const QString& problem, const QString& helpCommand) {
    return QStringLiteral("%1: %2\nTry '%3 --help'.\n").arg(program, problem, helpCommand);
}

}  // namespace mirelune

#include <gtest/gtest.h>

#include "shell/CommandLineText.h"
#include "shell/ProductInfo.h"

namespace mirelune {
namespace {

TEST(HelpText, NamesTheCommandInTheUsageLineAndKeepsQtOptionList) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Does things."));
    parser.addOption(QCommandLineOption({QStringLiteral("b"), QStringLiteral("bitrate")},
                                        QStringLiteral("Bitrate (default 128)."),
                                        QStringLiteral("KBPS")));
    parser.addPositionalArgument(QStringLiteral("PATH"), QStringLiteral("Paths."),
                                 QStringLiteral("PATH..."));
    const QString qtText = parser.helpText();

    const QString text = HelpText(parser, QStringLiteral("mirelune-cli reduce [options] PATH..."));

    const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'));
    EXPECT_EQ(text.left(lineEnd), QStringLiteral("Usage: mirelune-cli reduce [options] PATH..."));
    EXPECT_EQ(text.mid(lineEnd), qtText.mid(qtText.indexOf(QLatin1Char('\n'))));
    EXPECT_TRUE(text.contains(QStringLiteral("-b, --bitrate <KBPS>")));
}

TEST(VersionText, IsTheProgramAndTheVersionOnOneLine) {
    EXPECT_EQ(VersionText(QStringLiteral("mirelune-cli")),
              QStringLiteral("mirelune-cli ") + ProductVersion() + QStringLiteral("\n"));
    EXPECT_FALSE(ProductVersion().isEmpty());
}

TEST(UsageErrorText, OneLineNamingTheProblemAndOnePointingToHelp) {
    EXPECT_EQ(
        UsageErrorText(QStringLiteral("mirelune-cli"), QStringLiteral("Unknown option 'frob'."),
                       QStringLiteral("mirelune-cli reduce")),
        QStringLiteral("mirelune-cli: Unknown option 'frob'.\n"
                       "Try 'mirelune-cli reduce --help'.\n"));
}

}  // namespace
}  // namespace mirelune

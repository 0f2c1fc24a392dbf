// SPDX-License-Identifier: GPL-3.0-or-later
// The window program's command line, read before any window exists.
#include <gtest/gtest.h>

#include "app/WindowCommandLine.h"
#include "shell/ProductInfo.h"

namespace mirelune {
namespace {

const QString kWorking = QStringLiteral("/home/ada/Music");

WindowCommandLine Parse(QStringList arguments) {
    arguments.prepend(QStringLiteral("/usr/bin/mirelune"));
    return ParseWindowCommandLine(arguments, kWorking);
}

TEST(WindowCommandLine, HelpAndVersionPrintAndEndBeforeAnyWindow) {
    const QString version = QStringLiteral("mirelune ") + ProductVersion() +
                            QStringLiteral("\nLicence: GPL-3.0-or-later\n");
    const QString usage = QStringLiteral("Usage: mirelune [options] [FILE|FOLDER...]\n");
    const std::pair<QStringList, QString> cases[] = {
        {{"--help"}, usage},      {{"-h"}, usage},   {{"song.mp3", "--help"}, usage},
        {{"--version"}, version}, {{"-v"}, version},
    };
    for (const auto& [arguments, start] : cases) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const WindowCommandLine line = Parse(arguments);
        EXPECT_EQ(line.exitStatus, 0);
        EXPECT_TRUE(line.standardOutput.startsWith(start)) << line.standardOutput.toStdString();
        EXPECT_TRUE(line.standardError.isEmpty());
        EXPECT_TRUE(line.paths.isEmpty());
    }
}

TEST(WindowCommandLine, HelpListsOurOptionsAndNotQtOnes) {
    const QString help = Parse({"--help"}).standardOutput;
    EXPECT_TRUE(help.contains(QStringLiteral("-h, --help")));
    EXPECT_TRUE(help.contains(QStringLiteral("-v, --version")));
    EXPECT_TRUE(help.contains(QStringLiteral("FILE|FOLDER")));
    EXPECT_FALSE(help.contains(QStringLiteral("--platform")));
}

TEST(WindowCommandLine, AUsageErrorNamesTheOptionAndPointsToHelp) {
    const std::pair<QStringList, const char*> cases[] = {
        {{"--frobnicate", "song.mp3"}, "mirelune: Unknown option 'frobnicate'.\n"},
        {{"-x"}, "mirelune: Unknown option 'x'.\n"},
        {{"song.mp3", "-platform"}, "mirelune: Missing value after '-platform'.\n"},
    };
    for (const auto& [arguments, problem] : cases) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const WindowCommandLine line = Parse(arguments);
        EXPECT_EQ(line.exitStatus, 2);
        EXPECT_TRUE(line.standardOutput.isEmpty());
        EXPECT_EQ(line.standardError,
                  QString::fromUtf8(problem) + QStringLiteral("Try 'mirelune --help'.\n"));
        EXPECT_TRUE(line.paths.isEmpty());
    }
}

TEST(WindowCommandLine, PathsAreMadeAbsoluteAndKeepTheirOrder) {
    const WindowCommandLine line =
        Parse({"song.mp3", "/srv/Shared/album", "../Podcasts/./talk.mp3", "", "--", "-odd.mp3"});
    EXPECT_FALSE(line.exitStatus.has_value());
    // The empty argument names nothing, not the working folder.
    EXPECT_EQ(line.paths, (QStringList{"/home/ada/Music/song.mp3", "/srv/Shared/album",
                                       "/home/ada/Podcasts/talk.mp3", "/home/ada/Music/-odd.mp3"}));
}

TEST(WindowCommandLine, QtOwnOptionsAreLeftForQt) {
    const WindowCommandLine line = Parse({"-platform", "offscreen", "-style=fusion", "--reverse",
                                          "-qwindowtitle", "Songs", "song.mp3"});
    EXPECT_FALSE(line.exitStatus.has_value()) << line.standardError.toStdString();
    EXPECT_EQ(line.paths, QStringList{"/home/ada/Music/song.mp3"});
}

TEST(WindowCommandLine, NoArgumentsOpenAnEmptyWindow) {
    const WindowCommandLine line = Parse({});
    EXPECT_FALSE(line.exitStatus.has_value());
    EXPECT_TRUE(line.paths.isEmpty());
}

}  // namespace
}  // namespace mirelune

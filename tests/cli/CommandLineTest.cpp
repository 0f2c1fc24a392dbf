// SPDX-License-Identifier: GPL-3.0-or-later
// mirelune-cli's own command line, run as a program: help, version and the
// shape of every usage error, at the top and in each command.
#include <gtest/gtest.h>

#include <QStringList>

#include "CliProcess.h"
#include "shell/ProductInfo.h"
#include "support/ReduceTestSupport.h"

namespace mirelune::cli {
namespace {

using test::CliRun;
using test::Q;
using test::RunCli;

TEST(CliCommandLine, HelpAndVersionGoToStandardOutputAndExitZero) {
    const QString version = "mirelune-cli " + ProductVersion() + "\nLicence: GPL-3.0-or-later\n";
    const std::pair<QStringList, QString> cases[] = {
        {{"--version"}, version},
        {{"-v"}, version},
        {{"--help"}, "Usage: mirelune-cli <command> [options]\n"},
        {{"-h"}, "Usage: mirelune-cli <command> [options]\n"},
        {{"info", "--help"}, "Usage: mirelune-cli info [options] FILE...\n"},
        {{"reduce", "--help"}, "Usage: mirelune-cli reduce [options] PATH...\n"},
        {{"reduce", "-h"}, "Usage: mirelune-cli reduce [options] PATH...\n"},
        {{"reduce", "--version"}, version},
        {{"info", "-v"}, version},
    };
    for (const auto& [args, start] : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(run.out.startsWith(start)) << run.out.toStdString();
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    }
}

TEST(CliCommandLine, AUsageErrorIsOneLineNamingItThenAHintAndExitsTwo) {
    struct Case {
        QStringList args;
        const char* problem;
        const char* hint;
    };
    const Case cases[] = {
        {{"--frobnicate"}, "Unknown option 'frobnicate'.", "mirelune-cli"},
        {{"shrink", "x.mp3"}, "Unknown command 'shrink'.", "mirelune-cli"},
        {{"info", "--bogus", "x.mp3"}, "Unknown option 'bogus'.", "mirelune-cli info"},
        // Qt's --help-all is not an option of ours: it must not run the command.
        {{"info", "--help-all"}, "Unknown option 'help-all'.", "mirelune-cli info"},
        {{"reduce", "--beside", "-b"}, "Missing value after '-b'.", "mirelune-cli reduce"},
        {{"reduce", "--help-all"}, "Unknown option 'help-all'.", "mirelune-cli reduce"},
        {{"info"}, "no FILE given", "mirelune-cli info"},
        {{"reduce", "-o", "f.mp3", "f.mp3"}, "-o f.mp3 is not a folder", "mirelune-cli reduce"},
        {{"reduce", "-o", ".", "-leading.mp3"},
         "unknown option -leading.mp3: to name a file that starts with '-', put -- before it "
         "(mirelune-cli reduce [options] -- -leading.mp3)",
         "mirelune-cli reduce"},
        // Only a name read as options gets the hint, not a value.
        {{"reduce", "--shard", "-leading.mp3", "-o", ".", "f.mp3"},
         "--shard -leading.mp3 is not K/N with 1 <= K <= N",
         "mirelune-cli reduce"},
    };
    test::ScratchDir dir;
    test::WriteBytes(Q(dir.file("f.mp3")), "x");
    test::WriteBytes(Q(dir.file("-leading.mp3")), "x");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliRun run = RunCli(c.args, {}, {}, Q(dir.path().string()));
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.isEmpty());
        // Errors of a command are its own, whoever found them.
        EXPECT_EQ(run.err, QStringLiteral("%2: %1\nTry '%2 --help'.\n")
                               .arg(QString::fromUtf8(c.problem), QString::fromUtf8(c.hint)));
    }
}

}  // namespace
}  // namespace mirelune::cli

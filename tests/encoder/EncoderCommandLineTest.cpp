// SPDX-License-Identifier: GPL-3.0-or-later
// What the encoder says and leaves behind when it is called wrongly, cannot
// do its work or is stopped: one line on stderr, a non-zero exit, the output
// path as it was.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QString>
#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>

#include "EncoderTestSupport.h"
#include "landing/ResultFile.h"

namespace mirelune::test {
namespace {

bool OneLine(const std::string& text) {
    return !text.empty() && text.back() == '\n' && std::count(text.begin(), text.end(), '\n') == 1;
}

TEST(EncoderCommandLine, UsageErrorsExitWithOneAndOneLine) {
    ScratchDir dir;
    const std::string in = ToneMp3(dir, "in.mp3", 0.5, 44100, 2, {"-b", "128"});
    const std::string out = dir.file("out.mp3");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {in},
        {in, out, dir.file("third.mp3")},
        {"-x", in, out},
        {"-m", "j", in, out},
        {"-m"},
        {"-b", "abc", in, out},
        {"-b", "0", in, out},
        {"-b", "1000", in, out},
        {"-b"},
        {"--help", in, out},
        {"--versions"},
        {"-h", in, "-b", "128", out},
    };
    for (const std::vector<std::string>& args : cases) {
        std::string joined;
        for (const std::string& a : args) {
            joined += a + " ";
        }
        SCOPED_TRACE(joined);
        const ProgramRun run = Encode(dir, args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(OneLine(run.err)) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

TEST(EncoderCommandLine, HelpAndVersionGoToStandardOutput) {
    ScratchDir dir;
    const ProgramRun help = Encode(dir, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("usage: mirelune-encoder", 0), 0u) << help.out;
    const ProgramRun version = Encode(dir, {"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("mirelune-encoder 1.0 (LAME 3.", 0), 0u) << version.out;
    EXPECT_EQ(version.out.substr(version.out.find('\n')), "\nLicence: GPL-3.0-or-later\n");
    EXPECT_EQ(help.err + version.err, "");
}

struct FailureCase {
    const char* name;
    std::string (*input)(const ScratchDir&);
    std::string output;  // within the scratch folder
    std::string prefix;  // shell commands in front of the encoder
    std::string says;    // SOURCE stands for the input's path
};

void PrintTo(const FailureCase& c, std::ostream* out) {
    *out << c.name;
}

std::string GoodSource(const ScratchDir& dir) {
    return ToneMp3(dir, "in.mp3", 2.0, 44100, 2, {"-b", "320"});
}

class EncoderFailures : public ::testing::TestWithParam<FailureCase> {};

// The names in dir that start with a dot: what an encode leaves behind.
std::vector<std::string> HiddenNames(const ScratchDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        const std::string name = entry.path().filename().string();
        if (name[0] == '.') {
            names.push_back(name);
        }
    }
    return names;
}

// Whatever was at the output path before stays as it was.
TEST_P(EncoderFailures, EndWithOneLineAndTheOutputPathAsItWas) {
    const FailureCase& c = GetParam();
    for (const bool previous : {false, true}) {
        SCOPED_TRACE(previous ? "over a file" : "over nothing");
        ScratchDir dir;
        const std::string input = c.input(dir);
        const std::string output = dir.file(c.output);
        const Bytes before = {'o', 'l', 'd'};
        if (previous && std::filesystem::exists(std::filesystem::path(output).parent_path())) {
            dir.Write(c.output, before);
        }
        const bool existed = std::filesystem::exists(output);

        const ProgramRun run =
            RunProgram(dir, MIRELUNE_ENCODER, {"-b", "128", input, output}, c.prefix);

        EXPECT_NE(run.exitCode, 0);
        EXPECT_NE(run.exitCode, 1);
        EXPECT_TRUE(OneLine(run.err)) << run.err;
        std::string says = c.says;
        if (const std::size_t at = says.find("SOURCE"); at != std::string::npos) {
            says.replace(at, 6, input);
        }
        EXPECT_NE(run.err.find(says), std::string::npos) << run.err;
        EXPECT_EQ(std::filesystem::exists(output), existed);
        if (existed) {
            EXPECT_EQ(ReadAll(output), before);
        }
        EXPECT_EQ(HiddenNames(dir), std::vector<std::string>());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Causes, EncoderFailures,
    ::testing::Values(
        FailureCase{"MissingInput", [](const ScratchDir& d) { return d.file("missing.mp3"); },
                    "out.mp3", "", "cannot read"},
        FailureCase{
            "TextInput", [](const ScratchDir& d) { return d.Write("notes.mp3", Bytes(5000, 'x')); },
            "out.mp3", "", "SOURCE is not MPEG audio: its 5000 bytes of audio hold no frame sync"},
        FailureCase{
            "FreeFormatInput",
            [](const ScratchDir& d) {
                return d.Write("free.mp3", Frames({0xFF, 0xFB, 0x00, 0x64}, 417, 20));
            },
            "out.mp3", "",
            "SOURCE is not MPEG audio: the first frame sync, at byte 0, has a free-format bitrate"},
        FailureCase{
            "SampleRateChangesMidway",
            [](const ScratchDir& d) {
                Bytes frames = ReadAll(ToneMp3(d, "a.mp3", 1.0, 44100, 2, {"-b", "128", "-t"}));
                Append(frames, ReadAll(ToneMp3(d, "b.mp3", 1.0, 48000, 2, {"-b", "128", "-t"})));
                return d.Write("changing.mp3", frames);
            },
            "out.mp3", "",
            "SOURCE changes its channels or sample rate midway (from stereo at 44100 Hz to "
            "stereo at 48000 Hz)"},
        FailureCase{"WavInput",
                    [](const ScratchDir& d) {
                        RunProgram(d, MIRELUNE_MAKE_TONE, {d.file("tone.mp3"), "1"});
                        return d.file("tone.mp3");
                    },
                    "out.mp3", "", "is not MPEG audio"},
        FailureCase{"FolderMissing", GoodSource, "no/such/folder/out.mp3", "", "cannot write"},
        // The limit stops writing midway, after the output was created.
        FailureCase{"OutputCutShort", GoodSource, "out.mp3", "trap '' XFSZ; ulimit -f 16; ",
                    "cannot write"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST(EncoderCommandLine, TheOutputIsNeverTheInput) {
    ScratchDir dir;
    const std::string in = GoodSource(dir);
    const Bytes before = ReadAll(in);
    const ProgramRun run = Encode(dir, {"-b", "128", in, in});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(OneLine(run.err)) << run.err;
    EXPECT_EQ(ReadAll(in), before);
}

TEST(EncoderCommandLine, AResultReplacesTheFileThereAndKeepsItsMode) {
    ScratchDir dir;
    const std::string in = GoodSource(dir);
    const std::string out = dir.Write("out.mp3", {'o', 'l', 'd'});
    namespace fs = std::filesystem;
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(out, mode);

    ASSERT_EQ(Encode(dir, {"-b", "128", in, out}).exitCode, 0);
    ASSERT_EQ(Encode(dir, {"-b", "128", in, dir.file("fresh.mp3")}).exitCode, 0);

    EXPECT_EQ(ReadAll(out), ReadAll(dir.file("fresh.mp3")));
    EXPECT_EQ(fs::status(out).permissions(), mode);
    EXPECT_EQ(HiddenNames(dir), std::vector<std::string>());
}

// Ended by a signal, the encoder takes its temporary file, named as the job's
// sweep of leftovers knows them, along; the output path stays as it was.
TEST(EncoderCommandLine, AnEndingSignalLeavesNothingBehind) {
    ScratchDir dir;
    const std::string in = ToneMp3(dir, "in.mp3", 60.0, 44100, 2, {"-b", "128"});
    const Bytes before = {'o', 'l', 'd'};
    const std::string out = dir.Write("out.mp3", before);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        const pid_t pid = fork();
        if (pid == 0) {
            // As from a terminal, whatever the test runner ignores.
            for (const int s : {SIGINT, SIGTERM, SIGHUP}) {
                std::signal(s, SIG_DFL);
            }
            execl(MIRELUNE_ENCODER, MIRELUNE_ENCODER, "-b", "128", in.c_str(), out.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        std::vector<std::string> temporary;
        while (temporary.empty() && waitpid(pid, nullptr, WNOHANG) == 0) {
            temporary = HiddenNames(dir);
        }
        ASSERT_EQ(temporary.size(), 1u) << "the encoder ended before a file appeared";
        kill(pid, signal);
        int status = 0;
        waitpid(pid, &status, 0);

        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_TRUE(IsTemporaryResultName(QString::fromStdString(temporary[0]))) << temporary[0];
        EXPECT_EQ(HiddenNames(dir), std::vector<std::string>());
        EXPECT_EQ(ReadAll(out), before);
    }
}

}  // namespace
}  // namespace mirelune::test

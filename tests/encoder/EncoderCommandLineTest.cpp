// What the encoder says and leaves behind when it is called wrongly or
// cannot do its work: one line on stderr, a non-zero exit, no output file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "EncoderTestSupport.h"

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
    const char* says;
};

void PrintTo(const FailureCase& c, std::ostream* out) {
    *out << c.name;
}

std::string GoodSource(const ScratchDir& dir) {
    return ToneMp3(dir, "in.mp3", 2.0, 44100, 2, {"-b", "320"});
}

class EncoderFailures : public ::testing::TestWithParam<FailureCase> {};

TEST_P(EncoderFailures, EndWithOneLineAndNoOutput) {
    const FailureCase& c = GetParam();
    ScratchDir dir;
    const std::string input = c.input(dir);
    const std::string output = dir.file(c.output);

    const ProgramRun run =
        RunProgram(dir, MIRELUNE_ENCODER, {"-b", "128", input, output}, c.prefix);

    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.exitCode, 1);
    EXPECT_TRUE(OneLine(run.err)) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(output));
}

INSTANTIATE_TEST_SUITE_P(
    Causes, EncoderFailures,
    ::testing::Values(
        FailureCase{"MissingInput", [](const ScratchDir& d) { return d.file("missing.mp3"); },
                    "out.mp3", "", "cannot read"},
        FailureCase{"TextInput",
                    [](const ScratchDir& d) { return d.Write("notes.mp3", Bytes(5000, 'x')); },
                    "out.mp3", "", "is not MPEG audio"},
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

}  // namespace
}  // namespace mirelune::test

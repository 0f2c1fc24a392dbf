// SPDX-License-Identifier: GPL-3.0-or-later
// The source's tags travel to the result byte for byte: ID3v2 in front, then
// the new audio, then the blocks that followed the source's audio.
#include <gtest/gtest.h>

#include "EncoderTestSupport.h"
#include "TagBlocks.h"

namespace mirelune::test {
namespace {

// Tags of every kind on both sides of a tone; the ID3v2.3 tag is longer
// than a block of the copy.
TEST(EncoderTags, TravelByteForByteAroundTheNewAudio) {
    ScratchDir dir;
    Bytes head = Id3v24WithFooter();
    // One private frame fills the body: 10 bytes of frame header, then data.
    Bytes big = Id3v2Tag(3, 0, SyncsafeSize(100000), 0);
    AppendText(big, "PRIV");
    for (const std::uint8_t byte : {0, 1, 0x86, 0x96, 0, 0}) {
        big.push_back(byte);
    }
    for (std::size_t k = 0; k < 99990; ++k) {
        big.push_back(static_cast<std::uint8_t>(k * 7));
    }
    Append(head, big);
    Bytes tail = Id3v24WithFooter();
    Append(tail, ApeTag("Mirelune APE"));
    Append(tail, Lyrics3v2("Mirelune lyrics"));
    Append(tail, Id3v1Tag());
    ASSERT_EQ(head.size(), 100047u);
    ASSERT_EQ(tail.size(), 304u);
    Bytes source = head;
    Append(source, ReadAll(ToneMp3(dir, "made.mp3", 1.0, 44100, 2, {"-b", "192"})));
    Append(source, tail);
    const std::string sourcePath = dir.Write("source.mp3", source);
    const std::string result = dir.file("result.mp3");

    const ProgramRun run = Encode(dir, {"-h", "-m", "s", "-b", "128", sourcePath, result});

    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const Bytes out = ReadAll(result);
    ASSERT_GT(out.size(), head.size() + tail.size());
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 100047), head);
    EXPECT_EQ(Bytes(out.end() - 304, out.end()), tail);
    // MPEG-1 Layer III at 128 kbps and 44100 Hz.
    EXPECT_EQ(Bytes(out.begin() + 100047, out.begin() + 100050), Bytes({0xFF, 0xFB, 0x90}));
    // Only the tags came along: between them lie whole frames of the source's length.
    const ResultFrames frames = ReadResultFrames(out, 100047);
    EXPECT_EQ(frames.samples(), 44100);
    EXPECT_EQ(frames.end, out.size() - 304);
}

// A tag that claims more than the file holds cannot be copied: the result is
// made without it, and one line says so.
TEST(EncoderTags, ATagRunningPastTheEndIsLeftOutWithOneLine) {
    ScratchDir dir;
    constexpr std::uint32_t kClaimed = 50000000;
    Bytes source = Id3v2Tag(3, 0, SyncsafeSize(kClaimed), 100);
    Append(source, ReadAll(ToneMp3(dir, "made.mp3", 1.0, 44100, 2, {"-b", "192"})));
    const std::string sourcePath = dir.Write("source.mp3", source);
    const std::string result = dir.file("result.mp3");

    const ProgramRun run = Encode(dir, {"-b", "128", sourcePath, result});

    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "mirelune-encoder: " + sourcePath + ": the ID3v2 tag at byte 0 claims " +
                           std::to_string(kClaimed + 10) +
                           " bytes, past the end of the file; it is left out\n");
    EXPECT_EQ(ReadResultFrames(ReadAll(result), 0).samples(), 44100);
}

}  // namespace
}  // namespace mirelune::test

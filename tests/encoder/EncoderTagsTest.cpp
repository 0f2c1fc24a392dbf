// SPDX-License-Identifier: GPL-3.0-or-later
// The source's tags travel to the result byte for byte: ID3v2 in front, then
// the new audio, then the blocks that followed the source's audio.
#include <gtest/gtest.h>

#include "EncoderTestSupport.h"
#include "mp3/MP3Info.h"

namespace mirelune::test {
namespace {

void PutLittleEndian(Bytes& to, std::uint32_t value) {
    for (int k = 0; k < 4; ++k) {
        to.push_back(static_cast<std::uint8_t>(value >> (8 * k)));
    }
}

// An APEv2 tag with header and footer and one Title item.
Bytes ApeTag(const std::string& title) {
    Bytes item;
    PutLittleEndian(item, static_cast<std::uint32_t>(title.size()));
    PutLittleEndian(item, 0);
    AppendText(item, "Title");
    item.push_back(0);
    AppendText(item, title);
    const auto block = [&](std::uint32_t flags) {
        Bytes b;
        AppendText(b, "APETAGEX");
        PutLittleEndian(b, 2000);
        PutLittleEndian(b, static_cast<std::uint32_t>(item.size() + 32));
        PutLittleEndian(b, 1);
        PutLittleEndian(b, flags);
        AppendZeros(b, 8);
        return b;
    };
    Bytes tag = block(0xA0000000u);
    Append(tag, item);
    Append(tag, block(0x80000000u));
    return tag;
}

// A Lyrics3v2 block with one lyrics field.
Bytes Lyrics3v2(const std::string& lyrics) {
    Bytes block;
    AppendText(block, "LYRICSBEGIN");
    AppendText(block, "LYR");
    char size[8];
    std::snprintf(size, sizeof size, "%05zu", lyrics.size());
    AppendText(block, size);
    AppendText(block, lyrics);
    std::snprintf(size, sizeof size, "%06zu", block.size());
    AppendText(block, size);
    AppendText(block, "LYRICS200");
    return block;
}

// An ID3v2.4 tag with one text frame and a footer, which its size leaves out.
Bytes Id3v24WithFooter() {
    Bytes frame;
    AppendText(frame, "TIT2");
    Append(frame, SyncsafeSize(7));
    AppendZeros(frame, 2);
    frame.push_back(3);
    AppendText(frame, "Footer");
    Bytes tag = Id3v2Tag(4, 0x10, SyncsafeSize(static_cast<std::uint32_t>(frame.size())), 0);
    Append(tag, frame);
    Bytes footer = Id3v2Tag(4, 0x10, SyncsafeSize(static_cast<std::uint32_t>(frame.size())), 0);
    footer[0] = '3';
    footer[1] = 'D';
    footer[2] = 'I';
    Append(tag, footer);
    return tag;
}

// An ID3v2.3 tag with flag 0x10, which means no footer in that version.
Bytes Id3v23WithFlag0x10() {
    return Id3v2Tag(3, 0x10, SyncsafeSize(30), 30);
}

// The length of the ID3v2 tags a file starts with, footers included.
std::size_t Id3v2Length(const Bytes& file) {
    std::size_t at = 0;
    while (at + 10 <= file.size() &&
           std::string(file.begin() + at, file.begin() + at + 3) == "ID3") {
        const std::size_t body = static_cast<std::size_t>(file[at + 6]) << 21 |
                                 static_cast<std::size_t>(file[at + 7]) << 14 |
                                 static_cast<std::size_t>(file[at + 8]) << 7 | file[at + 9];
        at += 10 + body + ((file[at + 3] == 4 && (file[at + 5] & 0x10)) ? 10 : 0);
    }
    return at;
}

// Blocks a source may have between its audio and any ID3v1 tag.
enum class Trailing { Ape, Lyrics, Id3v24 };

struct TagCase {
    const char* name;
    std::vector<std::string> tagArgs;  // make_sample's; "COVER" stands for a picture file
    Bytes (*front)();                  // a hand-made ID3v2 tag in front, or nullptr
    std::vector<Trailing> trailing;    // in this order, before any ID3v1 tag
    bool id3v1;                        // what make_sample's arguments bring
};

Bytes TrailingBlock(Trailing kind) {
    switch (kind) {
        case Trailing::Ape:
            return ApeTag("Mirelune APE");
        case Trailing::Lyrics:
            return Lyrics3v2("Mirelune lyrics");
        case Trailing::Id3v24:
            return Id3v24WithFooter();
    }
    return {};
}

void PrintTo(const TagCase& c, std::ostream* out) {
    *out << c.name;
}

class EncoderTags : public ::testing::TestWithParam<TagCase> {};

TEST_P(EncoderTags, AreCopiedByteForByte) {
    const TagCase& c = GetParam();
    ScratchDir dir;
    Bytes picture = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    AppendZeros(picture, 2000);
    std::vector<std::string> args = {"-b", "192"};
    for (const std::string& arg : c.tagArgs) {
        args.push_back(arg == "COVER" ? dir.Write("cover.png", picture) : arg);
    }
    Bytes source = ReadAll(ToneMp3(dir, "made.mp3", 1.0, 44100, 2, args));
    long tail = c.id3v1 ? 128 : 0;
    for (const Trailing kind : c.trailing) {
        const Bytes block = TrailingBlock(kind);
        source.insert(source.end() - (c.id3v1 ? 128 : 0), block.begin(), block.end());
        tail += static_cast<long>(block.size());
    }
    if (c.front) {
        const Bytes tag = c.front();
        source.insert(source.begin(), tag.begin(), tag.end());
    }
    const auto head = static_cast<long>(Id3v2Length(source));
    ASSERT_EQ(head > 0, c.front || (!c.tagArgs.empty() && c.tagArgs[0] != "--id3v1-only"));
    ASSERT_EQ(std::string(source.end() - 128, source.end() - 125) == "TAG", c.id3v1);
    const std::string sourcePath = dir.Write("source.mp3", source);
    const std::string result = dir.file("result.mp3");

    const ProgramRun run = Encode(dir, {"-h", "-m", "s", "-b", "128", sourcePath, result});

    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Bytes out = ReadAll(result);
    ASSERT_GT(static_cast<long>(out.size()), head + tail);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + head), Bytes(source.begin(), source.begin() + head));
    EXPECT_EQ(Bytes(out.end() - tail, out.end()), Bytes(source.end() - tail, source.end()));
    mp3::MP3Info info;
    ASSERT_TRUE(info.ReadMP3Info(result));
    EXPECT_EQ(info.FirstFrame(), head);
    EXPECT_EQ(info.Bitrate(), 128000);
    // Only the tags came along: between them lie whole frames of the source's length.
    const ResultFrames frames = ReadResultFrames(out, static_cast<std::size_t>(head));
    EXPECT_EQ(frames.samples(), 44100);
    EXPECT_EQ(static_cast<long>(frames.end), static_cast<long>(out.size()) - tail);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EncoderTags,
    ::testing::Values(TagCase{"Id3v2WithPicture",
                              {"--id3v2-only", "--tt", "Mirelune", "--ti", "COVER"},
                              nullptr,
                              {},
                              false},
                      TagCase{"Id3v1", {"--id3v1-only", "--tt", "Mirelune"}, nullptr, {}, true},
                      TagCase{"Apev2", {}, nullptr, {Trailing::Ape}, false},
                      TagCase{"Id3v2WithFooter", {}, &Id3v24WithFooter, {}, false},
                      TagCase{"Id3v23WithFlag0x10", {}, &Id3v23WithFlag0x10, {}, false},
                      TagCase{"AppendedId3v24", {}, nullptr, {Trailing::Id3v24}, false},
                      TagCase{"LyricsBeforeId3v1",
                              {"--id3v1-only", "--tt", "Mirelune"},
                              nullptr,
                              {Trailing::Lyrics},
                              true},
                      TagCase{"EveryTrailingBlock",
                              {"--id3v1-only", "--tt", "Mirelune"},
                              nullptr,
                              {Trailing::Id3v24, Trailing::Ape, Trailing::Lyrics},
                              true},
                      TagCase{"TrailingBlocksOtherwiseOrdered",
                              {},
                              nullptr,
                              {Trailing::Lyrics, Trailing::Ape, Trailing::Id3v24},
                              false},
                      TagCase{"AllTogether",
                              {"--tt", "Mirelune", "--ti", "COVER"},
                              &Id3v24WithFooter,
                              {Trailing::Id3v24, Trailing::Ape, Trailing::Lyrics},
                              true}),
    [](const ::testing::TestParamInfo<TagCase>& info) { return info.param.name; });

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

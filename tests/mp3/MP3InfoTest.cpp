// SPDX-License-Identifier: GPL-3.0-or-later
#include "mp3/MP3Info.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "mp3/AnalysisError.h"
#include "support/Mp3Bytes.h"
#include "support/ScratchDir.h"

namespace mirelune::mp3 {
namespace {

using test::Append;
using test::AppendZeros;
using test::Bytes;
using test::kMpeg1L3At128;
using Kind = AnalysisError::Kind;

class MP3InfoTest : public ::testing::Test {
  protected:
    bool Read(const Bytes& bytes) { return info.ReadMP3Info(dir.Write("file.mp3", bytes)); }

    Kind FailureOf(const Bytes& bytes) {
        try {
            Read(bytes);
        } catch (const AnalysisError& e) {
            return e.kind();
        }
        ADD_FAILURE() << "no analysis error";
        return Kind::DivisionByZero;
    }

    // Three plain 128 kbps frames starting at the current end of bytes.
    static void AppendStream(Bytes& bytes) { Append(bytes, test::Frames(kMpeg1L3At128, 417, 3)); }

    test::ScratchDir dir;
    MP3Info info;
};

TEST_F(MP3InfoTest, ConstantBitrateFileWithId3v1) {
    // Only the first two headers matter to the search; the rest stands in
    // for audio.
    Bytes bytes = test::Frames(kMpeg1L3At128, 417, 2);
    bytes.resize(4000000, 0);
    Append(bytes, test::Id3v1Tag());
    ASSERT_EQ(bytes.size(), 4000128u);

    ASSERT_TRUE(Read(bytes));
    EXPECT_EQ(info.FirstFrame(), 0);
    EXPECT_EQ(info.FileSize(), 4000128);
    EXPECT_EQ(info.MpegBytes(), 4000000);
    EXPECT_EQ(info.Frames(), 9592);
    EXPECT_NEAR(info.duration(), 250566.53, 0.01);
    EXPECT_EQ(info.Bitrate(), 128000);
    EXPECT_EQ(info.Samplerate(), 44100);
    EXPECT_EQ(info.Channels(), 2);
    EXPECT_EQ(info.Layer(), 3);
    EXPECT_EQ(info.MpegVersion(), 1.0f);
    EXPECT_FALSE(info.IsVBR());
    EXPECT_TRUE(info.OriginalBit());
    EXPECT_FALSE(info.CopyrightBit());
    EXPECT_FALSE(info.PrivateBit());
    EXPECT_FALSE(info.Protected());
    EXPECT_FALSE(info.Emphasis());
}

TEST_F(MP3InfoTest, WhereTheFirstFrameIsFound) {
    struct Case {
        const char* what;
        std::function<Bytes()> make;
        bool found;
        std::int32_t firstFrame;
    };
    const Case cases[] = {
        {"after a leading ID3v2 tag and some junk",
         [] {
             Bytes b = test::Id3v2Tag(3, 0, {0, 0, 2, 1}, 257);  // 267 bytes
             AppendZeros(b, 5);
             AppendStream(b);
             return b;
         },
         true, 272},
        {"header split across the first block boundary",
         [] {
             Bytes b(2047, 0);
             AppendStream(b);
             return b;
         },
         true, 2047},
        {"'ID3' split across a block boundary is still a tag",
         [] {
             Bytes b(2046, 0);
             Append(b, test::Id3v2Tag(3, 0, {0, 0, 0, 20}, 20));
             AppendStream(b);
             return b;
         },
         true, 2046 + 30},
        {"FF FF FB: the real header's FF is taken as a candidate's second byte",
         [] {
             Bytes b(100, 0);
             b.push_back(0xFF);
             AppendStream(b);
             return b;
         },
         true, 101 + 417},
        {"run of three FF: the last one pairs with FB",
         [] {
             Bytes b(100, 0);
             b.insert(b.end(), 2, 0xFF);
             AppendStream(b);
             return b;
         },
         true, 102},
        {"run of four FF: pairs use them all up, the next frame is found",
         [] {
             Bytes b(100, 0);
             b.insert(b.end(), 3, 0xFF);
             AppendStream(b);
             return b;
         },
         true, 103 + 417},
        {"a single valid frame followed by garbage is passed over",
         [] {
             Bytes b = test::Frame(kMpeg1L3At128, 417);
             AppendZeros(b, 1000);
             AppendStream(b);
             return b;
         },
         true, 1417},
        {"header's first two bytes in the last searched bytes",
         [] {
             Bytes b(14334, 0);
             AppendStream(b);
             return b;
         },
         true, 14334},
        {"header starting one byte too late",
         [] {
             Bytes b(14335, 0);
             AppendStream(b);
             return b;
         },
         false, 0},
        {"the search window counts from the end of the leading tag",
         [] {
             Bytes b = test::Id3v2Tag(3, 0, test::SyncsafeSize(20000), 20000);
             AppendZeros(b, 14334);
             AppendStream(b);
             return b;
         },
         true, 20010 + 14334},
        {"junk longer than the search window",
         [] {
             Bytes b(20000, 0x55);
             AppendStream(b);
             return b;
         },
         false, 0},
        {"empty file", [] { return Bytes{}; }, false, 0},
        {"one byte", [] { return Bytes{0xFF}; }, false, 0},
        {"truncated inside the first frame", [] { return Bytes(test::Frame(kMpeg1L3At128, 300)); },
         false, 0},
        {"ID3v2 size pointing past the end of the file",
         [] {
             Bytes b = test::Id3v2Tag(3, 0, test::SyncsafeSize(100000), 0);
             AppendStream(b);
             return b;
         },
         false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Read(c.make()), c.found);
        EXPECT_EQ(info.FirstFrame(), c.firstFrame);
    }
}

TEST_F(MP3InfoTest, Id3v1TagIsLeftOutOfTheStreamSize) {
    Bytes plain = test::Frames(kMpeg1L3At128, 417, 4);
    Bytes tagged = plain;
    Append(tagged, test::Id3v1Tag("TAG"));
    Bytes lowerCase = plain;
    Append(lowerCase, test::Id3v1Tag("tag"));

    ASSERT_TRUE(Read(plain));
    EXPECT_EQ(info.MpegBytes(), 4 * 417);
    ASSERT_TRUE(Read(tagged));
    EXPECT_EQ(info.MpegBytes(), 4 * 417);
    EXPECT_EQ(info.FileSize(), 4 * 417 + 128);
    ASSERT_TRUE(Read(lowerCase));
    EXPECT_EQ(info.MpegBytes(), 4 * 417 + 128);
}

TEST_F(MP3InfoTest, VbrAndInfoHeaders) {
    struct Case {
        const char* what;
        std::function<void(Bytes&)> put;
        bool vbr;
        std::int64_t mpegBytes;
        std::int32_t frames;
        std::int32_t bitrate;
    };
    const std::int64_t fileBytes = 10 * 417;
    const Case cases[] = {
        {"Xing with frames and bytes",
         [](Bytes& f) { test::PutXing(f, 36, "Xing", 3, 1000, 3000000); }, true, 3000000, 1000,
         918750},
        {"Xing with bytes only: frames from the bytes",
         [](Bytes& f) { test::PutXing(f, 36, "Xing", 2, 0, 417000); }, true, 417000, 1000, 127706},
        {"Xing with neither field still marks VBR",
         [](Bytes& f) { test::PutXing(f, 36, "Xing", 0, 0, 0); }, true, fileBytes, 10, 127706},
        {"Info: header bitrate stays",
         [](Bytes& f) { test::PutXing(f, 36, "Info", 3, 500, 200000); }, false, 200000, 500,
         128000},
        {"VBRI with bytes 0 keeps the file's size", [](Bytes& f) { test::PutVbri(f, 0, 20); }, true,
         fileBytes, 20, 63853},
        {"identifiers are case-sensitive",
         [](Bytes& f) { test::PutXing(f, 36, "xing", 3, 1000, 3000000); }, false, fileBytes, 10,
         128000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes bytes = test::Frames(kMpeg1L3At128, 417, 10);
        c.put(bytes);
        ASSERT_TRUE(Read(bytes));
        EXPECT_EQ(info.IsVBR(), c.vbr);
        EXPECT_EQ(info.MpegBytes(), c.mpegBytes);
        EXPECT_EQ(info.Frames(), c.frames);
        EXPECT_EQ(info.Bitrate(), c.bitrate);
    }
}

TEST_F(MP3InfoTest, SingleChannelXingSitsAfterTheShorterSideInfo) {
    const Bytes mono = {0xFF, 0xFB, 0x90, 0xC4};
    Bytes bytes = test::Frames(mono, 417, 4);
    test::PutXing(bytes, 4 + 17, "Xing", 1, 100, 0);
    ASSERT_TRUE(Read(bytes));
    EXPECT_TRUE(info.IsVBR());
    EXPECT_EQ(info.Frames(), 100);
    EXPECT_EQ(info.Channels(), 1);
}

TEST_F(MP3InfoTest, StreamSizeIsHeldAsA32BitFloat) {
    // 2^24 + 1 has no float32 form; the nearest one, ties to even, is 2^24.
    Bytes bytes = test::Frames(kMpeg1L3At128, 417, 4);
    test::PutXing(bytes, 36, "Info", 2, 0, 16777217);
    ASSERT_TRUE(Read(bytes));
    EXPECT_EQ(info.MpegBytes(), 16777216);
    EXPECT_EQ(info.Frames(), 40233);  // 16777216 / 417 = 40233.13
}

TEST_F(MP3InfoTest, AnalysisFailures) {
    struct Case {
        const char* what;
        std::function<Bytes()> make;
        Kind kind;
    };
    const Case cases[] = {
        {"Xing header declaring 0 frames",
         [] {
             Bytes b = test::Frames(kMpeg1L3At128, 417, 3);
             test::PutXing(b, 36, "Xing", 1, 0, 0);
             return b;
         },
         Kind::DivisionByZero},
        {"8 kbps MPEG 2 Layer III frames are too short for the VBRI look",
         [] {
             return test::Frames({0xFF, 0xF3, 0x10, 0x00}, 26, 3);
         },
         Kind::OutOfRange},
        {"VBRI field of 2^31 or more",
         [] {
             Bytes b = test::Frames(kMpeg1L3At128, 417, 3);
             test::PutVbri(b, 0x80000000u, 10);
             return b;
         },
         Kind::Overflow},
        {"ID3v2 size neither syncsafe nor below 2^31",
         [] {
             Bytes b = test::Id3v2Tag(3, 0, {0x80, 0, 0, 0}, 0);
             AppendStream(b);
             return b;
         },
         Kind::Overflow},
        {"frames x samples beyond 32 bits",
         [] {
             Bytes b = test::Frames(kMpeg1L3At128, 417, 3);
             test::PutXing(b, 36, "Info", 1, 2000000, 0);
             return b;
         },
         Kind::Overflow},
        {"average bitrate beyond 32 bits",
         [] {
             Bytes b = test::Frames(kMpeg1L3At128, 417, 3);
             test::PutXing(b, 36, "Xing", 3, 1, 0x7FFFFFFF);
             return b;
         },
         Kind::Overflow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FailureOf(c.make()), c.kind);
    }
}

TEST_F(MP3InfoTest, EachReadStartsFromAClearState) {
    Bytes tagged = test::Id3v2Tag(3, 0, {0, 0, 0, 10}, 10);
    AppendStream(tagged);
    ASSERT_TRUE(Read(tagged));
    EXPECT_EQ(info.FirstFrame(), 20);

    // Left in a half-seen "ID" state, a detector would take this file's
    // leading "3" for a tag.
    Bytes id = {0, 'I', 'D'};
    ASSERT_FALSE(Read(id));
    EXPECT_EQ(info.FileSize(), 3);
    EXPECT_EQ(info.Bitrate(), 0);
    EXPECT_EQ(info.Frames(), 0);
    Bytes three = {'3', 0, 0, 0, 0, 0, 0, 0, 0, 0};
    AppendStream(three);
    ASSERT_TRUE(Read(three));
    EXPECT_EQ(info.FirstFrame(), 10);
}

TEST_F(MP3InfoTest, PathsThatAreNotReadableFiles) {
    EXPECT_FALSE(info.ReadMP3Info(dir.file("missing.mp3")));
    EXPECT_FALSE(info.ReadMP3Info(dir.path().string()));
    EXPECT_EQ(info.FileSize(), 0);
}

TEST_F(MP3InfoTest, SizeIsTheLow32BitsOfTheRealSize) {
    const std::string path = dir.file("huge.mp3");
    {
        std::ofstream out(path, std::ios::binary);
        const Bytes head = test::Frames(kMpeg1L3At128, 417, 3);
        out.write(reinterpret_cast<const char*>(head.data()),
                  static_cast<std::streamsize>(head.size()));
    }
    std::error_code error;
    std::filesystem::resize_file(path, (std::uintmax_t{1} << 32) + 2000, error);
    if (error) {
        GTEST_SKIP() << "no sparse files here: " << error.message();
    }
    ASSERT_TRUE(info.ReadMP3Info(path));
    EXPECT_EQ(info.FileSize(), 2000);
    EXPECT_EQ(info.MpegBytes(), 2000);
}

}  // namespace
}  // namespace mirelune::mp3

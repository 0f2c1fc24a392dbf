// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>

#include "mp3/AnalysisError.h"
#include "mp3/Id3Tags.h"
#include "mp3/VbrHeader.h"
#include "support/AnalysisFailure.h"
#include "support/Mp3Bytes.h"

namespace mirelune::mp3 {
namespace {

using test::Bytes;
using Kind = AnalysisError::Kind;

using test::FailureOf;

std::array<std::uint8_t, 10> TagHeader(std::uint8_t major, std::uint8_t flags, Bytes size) {
    const Bytes tag = test::Id3v2Tag(major, flags, size, 0);
    std::array<std::uint8_t, 10> header{};
    std::copy(tag.begin(), tag.end(), header.begin());
    return header;
}

TEST(Id3v2TagLength, ReadsSyncsafeAndPlainSizesAndTheFooter) {
    struct Case {
        std::uint8_t major, flags;
        Bytes size;
        std::int32_t length;
        const char* what;
    };
    const Case cases[] = {
        {3, 0x00, {0, 0, 2, 1}, 267, "syncsafe: 2 x 128 + 1 + 10"},
        {4, 0x10, {0, 0, 0, 0x7F}, 147, "version 4 with footer"},
        {3, 0x10, {0, 0, 0, 0x7F}, 137, "footer flag ignored before version 4"},
        {4, 0x00, {0, 0, 0, 0x7F}, 137, "version 4 without footer"},
        {3, 0x00, {0, 0, 1, 0x80}, 394, "top bit in the last byte: plain number"},
        {3, 0x00, {0x7F, 0x7F, 0x7F, 0x7F}, 268435455 + 10, "largest syncsafe size"},
        {3, 0x00, {0x7F, 0xFF, 0xFF, 0xF5}, 2147483647, "plain size that just fits"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Id3v2TagLength(TagHeader(c.major, c.flags, c.size)), c.length) << c.what;
    }
}

TEST(Id3v2TagLength, PlainSizesBeyond32BitsOverflow) {
    EXPECT_EQ(FailureOf([] { Id3v2TagLength(TagHeader(3, 0, {0x80, 0, 0, 0})); }), Kind::Overflow);
    EXPECT_EQ(FailureOf([] {
                  Id3v2TagLength(TagHeader(3, 0, {0x7F, 0xFF, 0xFF, 0xF6}));
              }),
              Kind::Overflow)
        << "size + 10 no longer fits";
    EXPECT_EQ(FailureOf([] {
                  Id3v2TagLength(TagHeader(4, 0x10, {0x7F, 0xFF, 0xFF, 0xEC}));
              }),
              Kind::Overflow)
        << "the footer's 10 bytes no longer fit";
}

TEST(Id3v1Tag, OnlyUpperCaseTagCounts) {
    EXPECT_TRUE(IsId3v1Tag(test::Id3v1Tag("TAG").data()));
    EXPECT_FALSE(IsId3v1Tag(test::Id3v1Tag("tag").data()));
    EXPECT_FALSE(IsId3v1Tag(test::Id3v1Tag("TAX").data()));
}

TEST(XingHeader, FieldsFollowTheFlags) {
    struct Case {
        std::uint32_t flags;
        std::int32_t frames, bytes;
    };
    const Case cases[] = {
        {3, 1234, 567890}, {2, 0, 567890}, {1, 1234, 0}, {0, 0, 0}, {0xF, 1234, 567890}};
    for (const Case& c : cases) {
        Bytes frame = test::Frame(test::kMpeg1L3At128, 417);
        test::PutXing(frame, 36, "Xing", c.flags, 1234, 567890);
        const VbrHeaderInfo info = ReadXingHeader(FrameBytes(frame), 36);
        EXPECT_EQ(info.Flags, static_cast<std::int32_t>(c.flags));
        EXPECT_EQ(info.Frames, c.frames) << "flags " << c.flags;
        EXPECT_EQ(info.Bytes, c.bytes) << "flags " << c.flags;
    }
}

TEST(XingHeader, FieldsAreTwosComplement) {
    Bytes frame = test::Frame(test::kMpeg1L3At128, 417);
    test::PutXing(frame, 36, "Xing", 0xFFFFFFFF, 0xFFFFFFFE, 0x80000000);
    const VbrHeaderInfo info = ReadXingHeader(FrameBytes(frame), 36);
    EXPECT_EQ(info.Flags, -1);
    EXPECT_EQ(info.Frames, -2);
    EXPECT_EQ(info.Bytes, std::numeric_limits<std::int32_t>::min());
}

TEST(XingHeader, FieldPastTheFrameIsOutOfRange) {
    Bytes frame = test::Frame(test::kMpeg1L3At128, 52);
    test::PutXing(frame, 36, "Xing", 3, 10, 20);  // bytes field ends at index 51
    EXPECT_NO_THROW(ReadXingHeader(FrameBytes(frame), 36));
    frame.resize(51);
    EXPECT_EQ(FailureOf([&] { ReadXingHeader(FrameBytes(frame), 36); }), Kind::OutOfRange);
}

TEST(VbriHeader, TakesBytesAndFrames) {
    Bytes frame = test::Frame(test::kMpeg1L3At128, 417);
    test::PutVbri(frame, 3000000, 1500);
    const VbrHeaderInfo info = ReadVbriHeader(FrameBytes(frame), 36);
    EXPECT_EQ(info.Bytes, 3000000);
    EXPECT_EQ(info.Frames, 1500);
    EXPECT_EQ(info.Flags, 0);
}

TEST(VbriHeader, FailsOnHugeFieldsAndShortFrames) {
    Bytes frame = test::Frame(test::kMpeg1L3At128, 417);
    test::PutVbri(frame, 0x80000000u, 10);
    EXPECT_EQ(FailureOf([&] { ReadVbriHeader(FrameBytes(frame), 36); }), Kind::Overflow);

    test::PutVbri(frame, 10, 0xFFFFFFFFu);
    EXPECT_EQ(FailureOf([&] { ReadVbriHeader(FrameBytes(frame), 36); }), Kind::Overflow);

    // Every field through index 61 is read, used or not.
    Bytes shortFrame = test::Frame(test::kMpeg1L3At128, 417);
    test::PutVbri(shortFrame, 10, 10);
    shortFrame.resize(62);
    EXPECT_NO_THROW(ReadVbriHeader(FrameBytes(shortFrame), 36));
    shortFrame.resize(61);
    EXPECT_EQ(FailureOf([&] { ReadVbriHeader(FrameBytes(shortFrame), 36); }), Kind::OutOfRange);
}

TEST(ReadBigEndian, WidthsOneToFour) {
    const FrameBytes bytes(Bytes{0x12, 0x34, 0x56, 0x78, 0x9A});
    EXPECT_EQ(ReadBigEndian(bytes, 0, 1), 0x12);
    EXPECT_EQ(ReadBigEndian(bytes, 0, 2), 0x1234);
    EXPECT_EQ(ReadBigEndian(bytes, 1, 3), 0x345678);
    EXPECT_EQ(ReadBigEndian(bytes, 0, 4), 0x12345678);
    EXPECT_EQ(ReadBigEndian(bytes, 1, 4), 0x3456789A);
    const FrameBytes high(Bytes{0x80, 0, 0, 0});
    EXPECT_EQ(FailureOf([&] { ReadBigEndian(high, 0, 4); }), Kind::Overflow);
    EXPECT_EQ(FailureOf([&] { ReadBigEndian(bytes, 3, 4); }), Kind::OutOfRange);
}

}  // namespace
}  // namespace mirelune::mp3

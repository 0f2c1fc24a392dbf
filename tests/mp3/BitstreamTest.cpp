// SPDX-License-Identifier: GPL-3.0-or-later
#include "mp3/Bitstream.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

#include "mp3/AnalysisError.h"
#include "support/AnalysisFailure.h"

namespace mirelune::mp3 {
namespace {

using Kind = AnalysisError::Kind;

using test::FailureOf;

TEST(Bitstream, SplitsAnMpegHeaderIntoItsFields) {
    const std::uint8_t header[] = {0xFF, 0xFB, 0x90, 0x64};
    Bitstream bits;
    bits.SetData(header, 4, 0, 4);
    bits.SkipBits(11);
    EXPECT_EQ(bits.position(), 1);
    EXPECT_EQ(bits.bitsLeft(), 5);

    struct Read {
        int width;
        int value;
        int position;
        int bitsLeft;
    };
    const Read reads[] = {{2, 3, 1, 3}, {2, 1, 1, 1}, {1, 1, 2, 8}, {4, 9, 2, 4},
                          {2, 0, 2, 2}, {1, 0, 2, 1}, {1, 0, 3, 8}, {2, 1, 3, 6},
                          {2, 2, 3, 4}, {1, 0, 3, 3}, {1, 1, 3, 2}, {2, 0, 4, 8}};
    for (const Read& r : reads) {
        EXPECT_EQ(bits.ReadBits(r.width), r.value);
        EXPECT_EQ(bits.position(), r.position);
        EXPECT_EQ(bits.bitsLeft(), r.bitsLeft);
    }
}

TEST(Bitstream, ReadsWholeBytesAndNothing) {
    const std::uint8_t data[] = {0xA5, 0x3C};
    Bitstream bits;
    bits.SetData(data, 2, 0, 2);
    EXPECT_EQ(bits.ReadBits(0), 0);
    EXPECT_EQ(bits.position(), 0);
    EXPECT_EQ(bits.bitsLeft(), 8);
    EXPECT_EQ(bits.ReadBits(8), 0xA5);
    EXPECT_EQ(bits.position(), 1);
    EXPECT_EQ(bits.bitsLeft(), 8);
    EXPECT_EQ(bits.ReadBits(3), 1);
    EXPECT_EQ(bits.ReadBits(0), 0);
    EXPECT_EQ(bits.bitsLeft(), 5);
}

TEST(Bitstream, CopiesOnlyTheRequestedRange) {
    const std::uint8_t data[] = {0x00, 0x12, 0x34, 0x00};
    Bitstream bits;
    bits.SetData(data, 4, 1, 2);
    EXPECT_EQ(bits.ReadBits(16), 0x1234);
    EXPECT_EQ(FailureOf([&] { bits.ReadBits(1); }), Kind::OutOfRange);
}

TEST(Bitstream, ReadEndingAtTheLastBitSucceedsOneMoreFails) {
    const std::uint8_t data[] = {0xFF, 0x01};
    Bitstream bits;
    bits.SetData(data, 2, 0, 2);
    EXPECT_EQ(bits.ReadBits(12), 0xFF0);
    EXPECT_EQ(bits.ReadBits(4), 0x1);
    EXPECT_EQ(bits.position(), 2);
    EXPECT_EQ(FailureOf([&] { bits.ReadBits(1); }), Kind::OutOfRange);
}

TEST(Bitstream, WideReadsStopAt31SignificantBits) {
    const std::uint8_t high[] = {0xFF, 0xFF, 0xFF, 0xFF};
    const std::uint8_t low[] = {0x7F, 0xFF, 0xFF, 0xFE};
    Bitstream bits;

    bits.SetData(high, 4, 0, 4);
    EXPECT_EQ(bits.ReadBits(31), 0x7FFFFFFF);

    bits.SetData(low, 4, 0, 4);
    EXPECT_EQ(bits.ReadBits(32), 0x7FFFFFFE);

    bits.SetData(high, 4, 0, 4);
    EXPECT_EQ(FailureOf([&] { bits.ReadBits(32); }), Kind::Overflow);
}

TEST(Bitstream, SkipsWholeBytesWithoutTouchingTheBitCount) {
    const std::uint8_t data[] = {1, 2, 3};
    Bitstream bits;
    bits.SetData(data, 3, 0, 3);
    bits.SkipBits(16);
    EXPECT_EQ(bits.position(), 2);
    EXPECT_EQ(bits.bitsLeft(), 8);
    EXPECT_EQ(bits.ReadBits(8), 3);
}

// Any sequence of reads must give what a plain bit-by-bit reader gives, and
// fail exactly where the data runs out.
TEST(Bitstream, AgreesWithABitByBitReader) {
    std::mt19937 random(2024);
    for (int trial = 0; trial < 2000; ++trial) {
        std::vector<std::uint8_t> data(1 + random() % 8);
        for (auto& b : data) {
            b = static_cast<std::uint8_t>(random());
        }
        Bitstream bits;
        bits.SetData(data.data(), data.size(), 0, static_cast<std::int32_t>(data.size()));
        const std::size_t totalBits = data.size() * 8;
        std::size_t consumed = 0;
        if (random() % 2 == 0) {
            const int skip = static_cast<int>(random() % 8) * 8;  // whole bytes keep bitsLeft valid
            bits.SkipBits(skip);
            consumed = static_cast<std::size_t>(skip);
        }
        for (int read = 0; read < 6; ++read) {
            const int width = static_cast<int>(random() % 25);
            // Even a 0-bit read looks at the current byte, so it fails at the end.
            if (consumed >= totalBits || consumed + static_cast<std::size_t>(width) > totalBits) {
                EXPECT_THROW(bits.ReadBits(width), AnalysisError);
                break;
            }
            std::int32_t expected = 0;
            for (int k = 0; k < width; ++k, ++consumed) {
                const int bit = (data[consumed / 8] >> (7 - consumed % 8)) & 1;
                expected = expected * 2 + bit;
            }
            ASSERT_EQ(bits.ReadBits(width), expected) << "trial " << trial << " read " << read;
        }
    }
}

TEST(Bitstream, RefusesBadRangesAndInvalidSkips) {
    const std::uint8_t data[] = {1, 2, 3, 4};
    Bitstream bits;
    EXPECT_EQ(FailureOf([&] { bits.SetData(data, 4, 2, 3); }), Kind::OutOfRange);
    EXPECT_EQ(FailureOf([&] { bits.SetData(data, 4, -1, 2); }), Kind::OutOfRange);

    // A skip of 12 from a byte boundary leaves bitsLeft = 4 at position 1;
    // a further skip of 7 makes it negative, and the next read's shift
    // count no longer fits a byte.
    bits.SetData(data, 4, 0, 4);
    bits.SkipBits(12);
    bits.SkipBits(7);
    EXPECT_EQ(bits.bitsLeft(), -3);
    EXPECT_EQ(FailureOf([&] { bits.ReadBits(2); }), Kind::Overflow);
}

}  // namespace
}  // namespace mirelune::mp3

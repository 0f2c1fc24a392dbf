// SPDX-License-Identifier: GPL-3.0-or-later
// The samples dropped at both ends of a decoded source.
#include "encoder/SampleTrim.h"

#include <gtest/gtest.h>

#include <numeric>

namespace mirelune::test {
namespace {

struct TrimCase {
    const char* name;
    int layer;
    int encoderDelay;  // as the decoder gives them
    int encoderPadding;
    std::size_t start;
    std::size_t end;
};

void PrintTo(const TrimCase& c, std::ostream* out) {
    *out << c.name;
}

class TrimCounts : public ::testing::TestWithParam<TrimCase> {};

// LAME's encoder, before it starts, says its delay is 576.
TEST_P(TrimCounts, FollowLamesProgram) {
    const TrimCase& c = GetParam();
    encoder::DecodedStream stream;
    stream.encoderDelay = c.encoderDelay;
    stream.encoderPadding = c.encoderPadding;
    const encoder::TrimCounts counts = encoder::TrimForSource(c.layer, stream, 576);
    EXPECT_EQ(counts.start, c.start);
    EXPECT_EQ(counts.end, c.end);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrimCounts,
    ::testing::Values(TrimCase{"Layer1", 1, 0, 0, 241, 0}, TrimCase{"Layer2", 2, 0, 0, 241, 0},
                      TrimCase{"Layer2IgnoresAnyHeader", 2, 576, 1000, 241, 0},
                      TrimCase{"Layer3WithLameHeader", 3, 576, 1000, 1105, 471},
                      TrimCase{"Layer3PaddingBelowTheDecodersDelay", 3, 576, 300, 1105, 0},
                      TrimCase{"Layer3WithoutHeader", 3, 0, 0, 529, 0},
                      TrimCase{"Layer3XingWithoutLameExtension", 3, -1, -1, 1105, 0},
                      TrimCase{"Layer3PaddingOnly", 3, -1, 1200, 0, 671}),
    [](const ::testing::TestParamInfo<TrimCase>& info) { return info.param.name; });

std::vector<short> Count(short from, std::size_t count) {
    std::vector<short> samples(count);
    std::iota(samples.begin(), samples.end(), from);
    return samples;
}

std::vector<short> Taken(const short* samples, std::size_t count) {
    return {samples, samples + count};
}

// Samples arrive a frame at a time; the start is dropped as it comes, the
// end is held back until more arrive.
TEST(SampleTrim, DropsBothEndsOfAStreamInPieces) {
    encoder::SampleTrim trim({3, 2}, 2);
    const std::vector<short> left = Count(1, 9);
    const std::vector<short> right = Count(101, 9);

    trim.add(left.data(), right.data(), 2);
    EXPECT_EQ(trim.ready(), 0u);
    trim.add(left.data() + 2, right.data() + 2, 4);
    ASSERT_EQ(trim.ready(), 1u);
    EXPECT_EQ(Taken(trim.left(), 1), std::vector<short>({4}));
    EXPECT_EQ(Taken(trim.right(), 1), std::vector<short>({104}));
    trim.take();
    EXPECT_EQ(trim.ready(), 0u);
    trim.add(left.data() + 6, right.data() + 6, 3);
    ASSERT_EQ(trim.ready(), 3u);
    EXPECT_EQ(Taken(trim.left(), 3), std::vector<short>({5, 6, 7}));
    EXPECT_EQ(Taken(trim.right(), 3), std::vector<short>({105, 106, 107}));
}

TEST(SampleTrim, GivesAMonoStreamOnBothSides) {
    encoder::SampleTrim trim({1, 0}, 1);
    const std::vector<short> left = Count(1, 3);
    trim.add(left.data(), nullptr, 3);
    ASSERT_EQ(trim.ready(), 2u);
    EXPECT_EQ(Taken(trim.left(), 2), std::vector<short>({2, 3}));
    EXPECT_EQ(Taken(trim.right(), 2), std::vector<short>({2, 3}));
}

}  // namespace
}  // namespace mirelune::test

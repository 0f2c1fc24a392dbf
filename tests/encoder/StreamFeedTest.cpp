// SPDX-License-Identifier: GPL-3.0-or-later
// What the decoder is fed of a source in memory.
#include "encoder/StreamFeed.h"

#include <gtest/gtest.h>

#include "SourceInMemory.h"

namespace mirelune::test {
namespace {

// MPEG-1 Layer III at 128 kbps, 44100 Hz: 417 bytes, 418 with padding.
Bytes Header(bool padded, bool reservedEmphasis) {
    return {0xFF, 0xFB, static_cast<std::uint8_t>(padded ? 0x92 : 0x90),
            static_cast<std::uint8_t>(reservedEmphasis ? 0x66 : 0x64)};
}

// 65 padded frames and 92 plain ones put the 158th header at byte 65534
// of the stream, across the first 64 KiB the feed reads; 20 more follow.
Bytes Stream(bool reservedEmphasis) {
    Bytes stream = Frames(Header(true, reservedEmphasis), 418, 65);
    Append(stream, Frames(Header(false, reservedEmphasis), 417, 92 + 20));
    return stream;
}

struct FeedCase {
    const char* name;
    std::vector<std::size_t> portions;  // the last one is asked for until the end
};

void PrintTo(const FeedCase& c, std::ostream* out) {
    *out << c.name;
}

class StreamFeeds : public ::testing::TestWithParam<FeedCase> {};

TEST_P(StreamFeeds, HandOutTheAudioWithoutTheReservedEmphasis) {
    const FeedCase& c = GetParam();
    constexpr std::size_t kTag = 10;
    const Bytes reserved = Stream(true);
    Bytes file(kTag, 'x');
    Append(file, reserved);
    Append(file, Id3v1Tag());
    const encoder::SourceFile source = InMemory(file);
    const encoder::Span audio{kTag, reserved.size()};
    encoder::StreamFeed feed(source, audio, *encoder::ParseMpegHeader(reserved.data()));

    Bytes fed;
    for (std::size_t k = 0, got = 1; got > 0; k = std::min(k + 1, c.portions.size() - 1)) {
        const std::uint8_t* bytes = feed.take(c.portions[k], got);
        fed.insert(fed.end(), bytes, bytes + got);
    }

    EXPECT_EQ(fed.size(), 73874u);
    EXPECT_EQ(fed, Stream(false));
}

INSTANTIATE_TEST_SUITE_P(Portions, StreamFeeds,
                         ::testing::Values(FeedCase{"AsTheDecoderAsks", {4, 100, 1024}},
                                           // The second portion ends two bytes into the header
                                           // that crosses the first read's end.
                                           FeedCase{"EndingInsideAHeader", {4, 65532, 1024}},
                                           FeedCase{"ByteByByte", {1}}),
                         [](const ::testing::TestParamInfo<FeedCase>& info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace mirelune::test

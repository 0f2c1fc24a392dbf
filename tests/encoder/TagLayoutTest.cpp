// SPDX-License-Identifier: GPL-3.0-or-later
// Where a source's tags are, found on sources in memory.
#include "encoder/TagLayout.h"

#include <gtest/gtest.h>

#include "SourceInMemory.h"
#include "TagBlocks.h"
#include "encoder/Id3v2Header.h"

namespace mirelune::test {
namespace {

using encoder::Id3v2Header;

struct HeaderCase {
    const char* name;
    Bytes bytes;
    Id3v2Header::End end;
    std::size_t tagBytes;  // 0: no header
};

void PrintTo(const HeaderCase& c, std::ostream* out) {
    *out << c.name;
}

class Id3v2Headers : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(Id3v2Headers, GiveTheWholeTagsLength) {
    const HeaderCase& c = GetParam();
    const auto header = Id3v2Header::Parse(c.bytes, c.end);
    EXPECT_EQ(header ? header->tagBytes() : 0, c.tagBytes);
}

Bytes Ends(const char* id, std::uint8_t major, std::uint8_t flags, Bytes size) {
    Bytes bytes = Id3v2Tag(major, flags, size, 0);
    std::copy(id, id + 3, bytes.begin());
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Id3v2Headers,
    ::testing::Values(
        HeaderCase{"V23", Ends("ID3", 3, 0, {0, 0, 2, 1}), Id3v2Header::End::Header, 267},
        HeaderCase{"V23FooterFlagMeansNothing", Ends("ID3", 3, 0x10, {0, 0, 0, 30}),
                   Id3v2Header::End::Header, 40},
        HeaderCase{"V24WithFooter", Ends("ID3", 4, 0x10, {0, 0, 0, 30}), Id3v2Header::End::Header,
                   50},
        HeaderCase{"V24Footer", Ends("3DI", 4, 0x10, {0, 1, 0, 0}), Id3v2Header::End::Footer,
                   16404},
        HeaderCase{"FooterAsHeader", Ends("3DI", 4, 0x10, {0, 0, 0, 30}), Id3v2Header::End::Header,
                   0},
        HeaderCase{"SizeNotSynchsafe", Ends("ID3", 3, 0, {0, 0, 0x80, 0}), Id3v2Header::End::Header,
                   0},
        HeaderCase{"VersionFF", Ends("ID3", 0xFF, 0, {0, 0, 0, 1}), Id3v2Header::End::Header, 0},
        HeaderCase{"Short", Bytes{'I', 'D', '3', 3, 0, 0, 0, 0, 1}, Id3v2Header::End::Header, 0}),
    [](const ::testing::TestParamInfo<HeaderCase>& info) { return info.param.name; });

// Three frames of 417 bytes stand for the audio.
constexpr std::size_t kAudio = 3 * 417;

struct LayoutCase {
    const char* name;
    Bytes front;
    Bytes back;  // after the audio
    std::size_t id3v2;
    std::size_t audio;  // its length; it starts where the ID3v2 tags end
    std::size_t trailing;
    const char* warning;
};

void PrintTo(const LayoutCase& c, std::ostream* out) {
    *out << c.name;
}

Bytes WithoutFirst(Bytes bytes, std::ptrdiff_t count) {
    bytes.erase(bytes.begin(), bytes.begin() + count);
    return bytes;
}

Bytes ApeClaiming(std::uint32_t itemsAndFooter) {
    Bytes tag = ApeTag("Mirelune APE", false);
    tag[tag.size() - 20] = static_cast<std::uint8_t>(itemsAndFooter);
    tag[tag.size() - 19] = static_cast<std::uint8_t>(itemsAndFooter >> 8);
    return tag;
}

class TagLayouts : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(TagLayouts, SplitTheSourceIntoTagsAndAudio) {
    const LayoutCase& c = GetParam();
    const encoder::SourceFile source =
        InMemory(Joined({c.front, Frames(kMpeg1L3At128, 417, 3), c.back}));

    const encoder::TagLayout layout = encoder::LocateTags(source);

    EXPECT_EQ(layout.id3v2.offset, 0u);
    EXPECT_EQ(layout.id3v2.size, c.id3v2);
    EXPECT_EQ(layout.audio.offset, c.id3v2);
    EXPECT_EQ(layout.audio.size, c.audio);
    EXPECT_EQ(layout.trailing.offset, c.id3v2 + c.audio);
    EXPECT_EQ(layout.trailing.size, c.trailing);
    EXPECT_EQ(layout.warning, c.warning);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TagLayouts,
    ::testing::Values(
        LayoutCase{"Untagged", {}, {}, 0, kAudio, 0, ""},
        LayoutCase{"Id3v24WithFooter", Id3v24WithFooter(), {}, 37, kAudio, 0, ""},
        LayoutCase{
            "Id3v23Flag0x10", Id3v2Tag(3, 0x10, SyncsafeSize(30), 30), {}, 40, kAudio, 0, ""},
        LayoutCase{"TwoId3v2Tags",
                   Joined({Id3v24WithFooter(), Id3v2Tag(3, 0, SyncsafeSize(30), 30)}),
                   {},
                   77,
                   kAudio,
                   0,
                   ""},
        LayoutCase{"Id3v1", {}, Id3v1Tag(), 0, kAudio, 128, ""},
        LayoutCase{"Apev2WithHeader", {}, ApeTag("Mirelune APE"), 0, kAudio, 90, ""},
        LayoutCase{"Apev2WithoutHeader", {}, ApeTag("Mirelune APE", false), 0, kAudio, 58, ""},
        LayoutCase{"LyricsBeforeId3v1",
                   {},
                   Joined({Lyrics3v2("Mirelune lyrics"), Id3v1Tag()}),
                   0,
                   kAudio,
                   177,
                   ""},
        LayoutCase{"AppendedId3v24", {}, Id3v24WithFooter(), 0, kAudio, 37, ""},
        LayoutCase{"EveryBlock", Id3v24WithFooter(),
                   Joined({Id3v24WithFooter(), ApeTag("Mirelune APE"), Lyrics3v2("Mirelune lyrics"),
                           Id3v1Tag()}),
                   37, kAudio, 304, ""},
        LayoutCase{"BlocksOtherwiseOrdered",
                   {},
                   Joined({Lyrics3v2("Mirelune lyrics"), ApeTag("Mirelune APE", false),
                           Id3v24WithFooter()}),
                   0,
                   kAudio,
                   144,
                   ""},
        // Blocks that do not hold together are audio as far as the encoder
        // can tell.
        LayoutCase{"ApeClaimingMoreThanTheFile", {}, ApeClaiming(5000), 0, kAudio + 58, 0, ""},
        LayoutCase{"ApeClaimingLessThanItsFooter", {}, ApeClaiming(31), 0, kAudio + 58, 0, ""},
        LayoutCase{"LyricsWithoutBeginning",
                   {},
                   WithoutFirst(Lyrics3v2("Mirelune lyrics"), 1),
                   0,
                   kAudio + 48,
                   0,
                   ""},
        LayoutCase{"Id3v24FooterWithoutHeader",
                   {},
                   WithoutFirst(Id3v24WithFooter(), 10),
                   0,
                   kAudio + 27,
                   0,
                   ""},
        LayoutCase{"TruncatedId3v2", Id3v2Tag(3, 0, SyncsafeSize(50000), 100), Id3v1Tag(), 0,
                   110 + kAudio, 128,
                   "source.mp3: the ID3v2 tag at byte 0 claims 50010 bytes, past the end of the "
                   "file; it is left out"}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return info.param.name; });

}  // namespace
}  // namespace mirelune::test

// SPDX-License-Identifier: GPL-3.0-or-later
// The first frame of a source's audio, found on sources in memory.
#include "encoder/StreamStart.h"

#include <gtest/gtest.h>

#include "SourceInMemory.h"
#include "encoder/EncoderFailure.h"

namespace mirelune::test {
namespace {

// MPEG-1 Layer II, 128 kbps, 44100 Hz, stereo: 417 bytes, as Layer III.
const Bytes kLayer2At128 = {0xFF, 0xFD, 0x80, 0x00};

struct StartCase {
    const char* name;
    Bytes file;
    encoder::Span audio;
    std::size_t offset;
    int layer;
    bool skipFirstFrame;
};

void PrintTo(const StartCase& c, std::ostream* out) {
    *out << c.name;
}

// A frame with a Xing or Info header, or with a VBRI header when id is "VBRI".
Bytes HeaderFrame(const Bytes& header, const std::string& id) {
    Bytes frame = Frame(header, 417);
    if (id == "VBRI") {
        PutVbri(frame, 4170, 10);
    } else {
        PutXing(frame, 36, id, 3, 10, 4170);
    }
    return frame;
}

class StreamStarts : public ::testing::TestWithParam<StartCase> {};

TEST_P(StreamStarts, AreTheFirstFrameAnotherFollows) {
    const StartCase& c = GetParam();
    const encoder::StreamStart start = encoder::FindStreamStart(InMemory(c.file), c.audio);
    EXPECT_EQ(start.offset, c.offset);
    EXPECT_EQ(start.header.layer, c.layer);
    EXPECT_EQ(start.header.frameBytes, 417u);
    EXPECT_EQ(start.skipFirstFrame, c.skipFirstFrame);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StreamStarts,
    ::testing::Values(
        StartCase{"Untagged", Frames(kMpeg1L3At128, 417, 3), {0, 1251}, 0, 3, false},
        StartCase{"AfterATag",
                  Joined({Id3v2Tag(3, 0, SyncsafeSize(90), 90), Frames(kMpeg1L3At128, 417, 3)}),
                  {100, 1251},
                  100,
                  3,
                  false},
        // Nothing follows a lone frame inside the audio; its end is the
        // audio's end, not the file's.
        StartCase{
            "OnlyFrameEndsTaggedAudio",
            Joined({Id3v2Tag(3, 0, SyncsafeSize(90), 90), Frame(kMpeg1L3At128, 417), Id3v1Tag()}),
            {100, 417},
            100,
            3,
            false},
        StartCase{"AfterAChanceSync",
                  Joined({Frame(kMpeg1L3At128, 600), Frames(kMpeg1L3At128, 417, 3)}),
                  {0, 1851},
                  600,
                  3,
                  false},
        // The audio is searched 4 KiB first, then 64 KiB at a time.
        StartCase{"AcrossTheFirstSearchWindow",
                  Joined({Bytes(4094, 0), Frames(kMpeg1L3At128, 417, 3)}),
                  {0, 4094 + 1251},
                  4094,
                  3,
                  false},
        StartCase{"InTheSecondSearchWindow",
                  Joined({Bytes(10000, 0), Frames(kMpeg1L3At128, 417, 3)}),
                  {0, 10000 + 1251},
                  10000,
                  3,
                  false},
        StartCase{"AcrossTheSecondSearchWindow",
                  Joined({Bytes(69630, 0), Frames(kMpeg1L3At128, 417, 3)}),
                  {0, 69630 + 1251},
                  69630,
                  3,
                  false},
        StartCase{"InTheThirdSearchWindow",
                  Joined({Bytes(70000, 0), Frames(kMpeg1L3At128, 417, 3)}),
                  {0, 70000 + 1251},
                  70000,
                  3,
                  false},
        StartCase{"VbriHeaderFrame",
                  Joined({HeaderFrame(kMpeg1L3At128, "VBRI"), Frames(kMpeg1L3At128, 417, 2)}),
                  {0, 1251},
                  0,
                  3,
                  true},
        StartCase{"Layer3InfoHeaderFrame",
                  Joined({HeaderFrame(kMpeg1L3At128, "Info"), Frames(kMpeg1L3At128, 417, 2)}),
                  {0, 1251},
                  0,
                  3,
                  false},
        StartCase{"Layer2XingHeaderFrame",
                  Joined({HeaderFrame(kLayer2At128, "Xing"), Frames(kLayer2At128, 417, 2)}),
                  {0, 1251},
                  0,
                  2,
                  true},
        StartCase{"Layer2InfoHeaderFrame",
                  Joined({HeaderFrame(kLayer2At128, "Info"), Frames(kLayer2At128, 417, 2)}),
                  {0, 1251},
                  0,
                  2,
                  true}),
    [](const ::testing::TestParamInfo<StartCase>& info) { return info.param.name; });

struct RefusalCase {
    const char* name;
    Bytes audio;
    const char* says;
};

void PrintTo(const RefusalCase& c, std::ostream* out) {
    *out << c.name;
}

class StreamStartRefusals : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(StreamStartRefusals, SayWhatTheAudioHoldsInstead) {
    const RefusalCase& c = GetParam();
    const std::size_t size = c.audio.size();
    try {
        encoder::FindStreamStart(InMemory(c.audio), {0, size});
        ADD_FAILURE() << "found a stream";
    } catch (const encoder::EncoderFailure& failure) {
        EXPECT_EQ(std::string(failure.what()),
                  std::string("source.mp3 is not MPEG audio: ") + c.says);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StreamStartRefusals,
    ::testing::Values(
        RefusalCase{"Text", Bytes(5000, 'x'), "its 5000 bytes of audio hold no frame sync"},
        // The length of a free-format frame is not in its header.
        RefusalCase{"FreeFormat", Frames({0xFF, 0xFB, 0x00, 0x64}, 417, 3),
                    "the first frame sync, at byte 0, has a free-format bitrate"},
        RefusalCase{"MpegLayer2In25", Frames({0xFF, 0xE5, 0x90, 0x00}, 417, 3),
                    "the first frame sync, at byte 0, has Layer I or II in MPEG-2.5"},
        RefusalCase{"LoneFrame", Joined({Frame(kMpeg1L3At128, 417), Bytes(100, 0)}),
                    "the first frame sync, at byte 0, starts a frame that no frame of its stream "
                    "follows"},
        RefusalCase{"FramesOfTwoStreams",
                    Joined({Frame(kMpeg1L3At128, 417), Frame(kLayer2At128, 417), Bytes(10, 0)}),
                    "the first frame sync, at byte 0, starts a frame that no frame of its stream "
                    "follows"}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

}  // namespace
}  // namespace mirelune::test

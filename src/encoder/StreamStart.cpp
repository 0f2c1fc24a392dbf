// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/StreamStart.h"

#include <algorithm>
#include <cstring>

#include "encoder/EncoderFailure.h"
#include "encoder/SourceFile.h"

namespace mirelune::encoder {
namespace {

// Fraunhofer's encoder puts its VBRI header at this fixed place.
constexpr std::size_t kVbriOffset = 36;

// The audio is searched a window at a time. A window reaches past its part
// of the search by the longest frame (Layer II at 384 kbps and 32 kHz,
// padded: 1729 bytes) and the next frame's header.
constexpr std::size_t kWindowBytes = 1 << 16;
// Most streams start at once: the first window is small, so that finding
// the start of each of many files reads little of them.
constexpr std::size_t kFirstWindowBytes = 4096;
constexpr std::size_t kLookAheadBytes = 2048;

bool HasId(const Bytes& bytes, std::size_t frameEnd, std::size_t at, const char* id) {
    return at + 4 <= frameEnd && std::memcmp(bytes.data() + at, id, 4) == 0;
}

// A frame whose only purpose is to describe the stream.
bool IsHeaderFrame(const Bytes& bytes, std::size_t frame, const MpegHeader& header) {
    const std::size_t end = frame + header.frameBytes;
    const std::size_t xing = frame + XingOffset(header);
    const bool xingOrInfo = HasId(bytes, end, xing, "Xing") || HasId(bytes, end, xing, "Info");
    // LAME's decoder reads a Layer III Xing or Info frame itself, encoder
    // delay and padding included, so that frame must reach it.
    return HasId(bytes, end, frame + kVbriOffset, "VBRI") || (xingOrInfo && header.layer != 3);
}

}  // namespace

StreamStart FindStreamStart(const SourceFile& file, Span audio) {
    // What the first bytes with a frame sync turned out to be, for the
    // message when no stream follows.
    std::string found;
    const auto noteFirst = [&found](std::size_t at, const std::string& what) {
        if (found.empty()) {
            found = "the first frame sync, at byte " + std::to_string(at) + ", " + what;
        }
    };
    std::size_t windowBytes = kFirstWindowBytes;
    for (std::size_t base = audio.offset; base < audio.end();
         base += windowBytes, windowBytes = kWindowBytes) {
        const Bytes window =
            file.read({base, std::min(windowBytes + kLookAheadBytes, audio.end() - base)});
        const std::size_t last = std::min(windowBytes, window.size());
        // A frame counts when the next one follows where its length says, or
        // when it ends the audio exactly: a single sync pattern in other data
        // passes that test only by chance.
        for (std::size_t at = 0; at < last && at + 4 <= window.size(); ++at) {
            if (window[at] != 0xFF || (window[at + 1] & 0xE0) != 0xE0) {
                continue;
            }
            if (const char* fault = HeaderFault(window.data() + at)) {
                noteFirst(base + at, std::string("has ") + fault);
                continue;
            }
            const MpegHeader header = *ParseMpegHeader(window.data() + at);
            const std::size_t next = at + header.frameBytes;
            bool confirmed = base + next == audio.end();
            if (next + 4 <= window.size()) {
                const auto following = ParseMpegHeader(window.data() + next);
                confirmed = following && SameStream(header, *following);
            }
            if (confirmed) {
                return {base + at, header, IsHeaderFrame(window, at, header)};
            }
            noteFirst(base + at, "starts a frame that no frame of its stream follows");
        }
    }
    if (found.empty()) {
        found = "its " + std::to_string(audio.size) + " bytes of audio hold no frame sync";
    }
    throw EncoderFailure(file.path() + " is not MPEG audio: " + found);
}

}  // namespace mirelune::encoder

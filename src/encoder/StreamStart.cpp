#include "encoder/StreamStart.h"

#include <cstring>

#include "encoder/EncoderFailure.h"

namespace mirelune::encoder {
namespace {

// Fraunhofer's encoder puts its VBRI header at this fixed place.
constexpr std::size_t kVbriOffset = 36;

bool HasId(const Bytes& file, std::size_t frameEnd, std::size_t at, const char* id) {
    return at + 4 <= frameEnd && std::memcmp(file.data() + at, id, 4) == 0;
}

// A frame whose only purpose is to describe the stream.
bool IsHeaderFrame(const Bytes& file, std::size_t frame, const MpegHeader& header) {
    const std::size_t end = frame + header.frameBytes;
    const std::size_t xing = frame + XingOffset(header);
    const bool xingOrInfo = HasId(file, end, xing, "Xing") || HasId(file, end, xing, "Info");
    // LAME's decoder reads a Layer III Xing or Info frame itself, encoder
    // delay and padding included, so that frame must reach it.
    return HasId(file, end, frame + kVbriOffset, "VBRI") || (xingOrInfo && header.layer != 3);
}

}  // namespace

StreamStart FindStreamStart(const Bytes& file, Span audio, const std::string& path) {
    // A frame counts when the next one follows where its length says, or
    // when it ends the audio exactly: a single sync pattern in other data
    // passes that test only by chance.
    for (std::size_t at = audio.offset; at + 4 <= audio.end(); ++at) {
        const auto header = ParseMpegHeader(file.data() + at);
        if (!header) {
            continue;
        }
        const std::size_t next = at + header->frameBytes;
        bool confirmed = next == audio.end();
        if (next + 4 <= audio.end()) {
            const auto following = ParseMpegHeader(file.data() + next);
            confirmed = following && SameStream(*header, *following);
        }
        if (confirmed) {
            return {at, *header, IsHeaderFrame(file, at, *header)};
        }
    }
    throw EncoderFailure(path + " is not MPEG audio");
}

}  // namespace mirelune::encoder

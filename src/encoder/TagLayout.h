#pragma once

#include "encoder/FileBytes.h"

namespace mirelune::encoder {

// Where a source's tags are: ID3v2 tags at the start, an APEv2 tag and an
// ID3v1 tag at the end, and the audio between them. A tag the file lacks has
// size zero.
struct TagLayout {
    Span id3v2;
    Span audio;
    Span ape;
    Span id3v1;
};

TagLayout LocateTags(const Bytes& file);

}  // namespace mirelune::encoder

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "encoder/FileBytes.h"

namespace mirelune::encoder {

class SourceFile;

// Where a source's tags are: ID3v2 tags at the start, the audio, and the
// blocks after it (an appended ID3v2.4 tag, APEv2, Lyrics3v2 and ID3v1, in
// any order the file has them). A part the file lacks has size zero.
struct TagLayout {
    Span id3v2;
    Span audio;
    Span trailing;
    // One line about a tag that cannot be copied, or empty.
    std::string warning;
};

// Reads only the tags' headers and footers. Throws EncoderFailure.
TagLayout LocateTags(const SourceFile& file);

}  // namespace mirelune::encoder

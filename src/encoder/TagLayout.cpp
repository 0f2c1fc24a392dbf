// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/TagLayout.h"

#include <algorithm>
#include <cstring>

#include "encoder/ApeTagFooter.h"
#include "encoder/Id3v2Header.h"
#include "encoder/Lyrics3v2End.h"
#include "encoder/SourceFile.h"

namespace mirelune::encoder {
namespace {

constexpr std::size_t kId3v1Bytes = 128;

bool HasTextAt(const SourceFile& file, std::size_t at, const char* text) {
    const std::size_t length = std::strlen(text);
    const Bytes bytes = file.read({at, length});
    return bytes.size() == length && std::memcmp(bytes.data(), text, length) == 0;
}

// The length of the ID3v2 tag whose header is at `at`, or 0.
std::size_t Id3v2TagAt(const SourceFile& file, std::size_t at) {
    const auto header =
        Id3v2Header::Parse(file.read({at, Id3v2Header::kBytes}), Id3v2Header::End::Header);
    return header ? header->tagBytes() : 0;
}

// The APEv2 (or v1) tag whose footer ends at `end`, header included.
std::size_t ApeTagEndingAt(const SourceFile& file, std::size_t start, std::size_t end) {
    if (end < start + ApeTagFooter::kBytes) {
        return 0;
    }
    const auto footer =
        ApeTagFooter::Parse(file.read({end - ApeTagFooter::kBytes, ApeTagFooter::kBytes}));
    return footer && footer->tagBytes() <= end - start ? footer->tagBytes() : 0;
}

// The Lyrics3v2 block that ends at `end`.
std::size_t LyricsEndingAt(const SourceFile& file, std::size_t start, std::size_t end) {
    if (end < start + Lyrics3v2End::kBytes) {
        return 0;
    }
    const auto last =
        Lyrics3v2End::Parse(file.read({end - Lyrics3v2End::kBytes, Lyrics3v2End::kBytes}));
    const bool fits = last && last->blockBytes <= end - start &&
                      HasTextAt(file, end - last->blockBytes, Lyrics3v2End::kBegin);
    return fits ? last->blockBytes : 0;
}

// The ID3v2.4 tag appended at `end`, found by its footer and confirmed by
// its header.
std::size_t AppendedId3v2EndingAt(const SourceFile& file, std::size_t start, std::size_t end) {
    constexpr std::size_t kEnds = 2 * Id3v2Header::kBytes;
    if (end < start + kEnds) {
        return 0;
    }
    const auto footer = Id3v2Header::Parse(
        file.read({end - Id3v2Header::kBytes, Id3v2Header::kBytes}), Id3v2Header::End::Footer);
    if (!footer || footer->tagBytes() < kEnds || footer->tagBytes() > end - start) {
        return 0;
    }
    const std::size_t total = footer->tagBytes();
    return Id3v2TagAt(file, end - total) == total ? total : 0;
}

}  // namespace

TagLayout LocateTags(const SourceFile& file) {
    TagLayout layout;
    // Some files carry more than one ID3v2 tag back to back; all of them
    // stay in front of the audio.
    std::size_t start = 0;
    while (const std::size_t tag = Id3v2TagAt(file, start)) {
        if (tag > file.size() - start) {
            // What the tag holds cannot be told from the audio; the frames
            // inside the range it claims are still found.
            layout.warning = file.path() + ": the ID3v2 tag at byte " + std::to_string(start) +
                             " claims " + std::to_string(tag) +
                             " bytes, past the end of the file;" + " it is left out";
            break;
        }
        start += tag;
    }
    layout.id3v2 = {0, start};

    const std::size_t fileEnd = file.size();
    std::size_t end = fileEnd;
    if (end >= start + kId3v1Bytes && HasTextAt(file, end - kId3v1Bytes, "TAG")) {
        end -= kId3v1Bytes;
    }
    while (const std::size_t block =
               std::max({ApeTagEndingAt(file, start, end), LyricsEndingAt(file, start, end),
                         AppendedId3v2EndingAt(file, start, end)})) {
        end -= block;
    }
    layout.audio = {start, end - start};
    layout.trailing = {end, fileEnd - end};
    return layout;
}

}  // namespace mirelune::encoder

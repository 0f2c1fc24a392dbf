// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "encoder/FileBytes.h"

namespace mirelune::encoder {

class OutputFile;

// The source, read where it is needed instead of all at once, so that an
// encode's memory does not grow with the length of the audio.
class SourceFile {
  public:
    // Throws EncoderFailure when the file cannot be opened or is a folder.
    explicit SourceFile(std::string path);
    ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    const std::string& path() const { return path_; }
    std::size_t size() const { return size_; }

    // Fills `into` from offset on; returns how many bytes there were, fewer
    // only at the end of the file. Throws EncoderFailure.
    std::size_t readAt(std::size_t offset, std::uint8_t* into, std::size_t size) const;
    // The bytes of part that the file holds.
    Bytes read(Span part) const;
    // Copies part to the output a block at a time.
    void copyTo(OutputFile& output, Span part) const;

  private:
    std::string path_;
    int fd_ = -1;
    std::size_t size_ = 0;
};

}  // namespace mirelune::encoder

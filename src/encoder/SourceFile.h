// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "encoder/FileBytes.h"
#include "encoder/SourceReader.h"

namespace mirelune::encoder {

// The source, read a part at a time where it is needed, so that an encode's
// memory does not grow with the length of the audio.
class SourceFile {
  public:
    // The file at path. Throws EncoderFailure when it cannot be opened or is
    // a folder.
    explicit SourceFile(std::string path);
    // What reader holds, named path in messages.
    SourceFile(std::string path, std::unique_ptr<SourceReader> reader);

    const std::string& path() const { return path_; }
    std::size_t size() const { return size_; }

    // Fills `into` from offset on; returns how many bytes there were, fewer
    // only at the end of the file. Throws EncoderFailure.
    std::size_t readAt(std::size_t offset, std::uint8_t* into, std::size_t size) const {
        return reader_->readAt(offset, into, size);
    }
    // The bytes of part that the file holds.
    Bytes read(Span part) const;

  private:
    std::string path_;
    std::unique_ptr<SourceReader> reader_;
    std::size_t size_;
};

}  // namespace mirelune::encoder

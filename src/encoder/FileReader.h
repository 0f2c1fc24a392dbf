// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "encoder/SourceReader.h"

namespace mirelune::encoder {

// A file read where it is needed instead of all at once, so that an
// encode's memory does not grow with the length of the audio.
class FileReader : public SourceReader {
  public:
    // Throws EncoderFailure when the file cannot be opened or is a folder.
    explicit FileReader(const std::string& path);
    ~FileReader() override;
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    std::size_t size() const override { return size_; }
    std::size_t readAt(std::size_t offset, std::uint8_t* into, std::size_t size) const override;

  private:
    std::string path_;
    int fd_ = -1;
    std::size_t size_ = 0;
};

}  // namespace mirelune::encoder

// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/SourceFile.h"

#include "encoder/FileReader.h"

namespace mirelune::encoder {

SourceFile::SourceFile(std::string path) : SourceFile(path, std::make_unique<FileReader>(path)) {}

SourceFile::SourceFile(std::string path, std::unique_ptr<SourceReader> reader)
    : path_(std::move(path)), reader_(std::move(reader)), size_(reader_->size()) {}

Bytes SourceFile::read(Span part) const {
    Bytes bytes(part.size);
    bytes.resize(readAt(part.offset, bytes.data(), bytes.size()));
    return bytes;
}

}  // namespace mirelune::encoder

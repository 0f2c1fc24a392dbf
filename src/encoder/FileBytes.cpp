// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/FileBytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "encoder/EncoderFailure.h"

namespace mirelune::encoder {
namespace {

struct CloseFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

EncoderFailure CannotRead(const std::string& path, int error) {
    return EncoderFailure("cannot read " + path + ": " + std::strerror(error));
}

}  // namespace

Bytes ReadFileBytes(const std::string& path) {
    const std::unique_ptr<std::FILE, CloseFile> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        throw CannotRead(path, errno);
    }
    Bytes bytes;
    std::uint8_t block[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) {
        bytes.insert(bytes.end(), block, block + got);
    }
    if (std::ferror(file.get())) {
        // A folder opens fine on Linux and fails only here, with EISDIR.
        throw CannotRead(path, errno != 0 ? errno : EIO);
    }
    return bytes;
}

}  // namespace mirelune::encoder

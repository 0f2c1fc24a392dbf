// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "encoder/FileBytes.h"

namespace mirelune::encoder {

// The file an encode writes. It is written under a temporary name beside the
// output and takes the output's name only in keep(), so whatever was at the
// output path stays as it was until the result is whole. Unless keep()
// succeeds, the destructor removes the temporary file; so does SIGINT,
// SIGTERM or SIGHUP meanwhile. One at a time. When the output is itself a
// run's temporary file, the temporary name carries the same run tag, so that
// the run's mark covers it too.
class OutputFile {
  public:
    // Creates the temporary file. Throws EncoderFailure.
    explicit OutputFile(std::string path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void write(const std::uint8_t* data, std::size_t size);
    void write(const Bytes& bytes) { write(bytes.data(), bytes.size()); }
    // Overwrites bytes already written, from offset on.
    void rewrite(std::size_t offset, const Bytes& bytes);

    // Stores the file and moves it onto the output path in one step; throws
    // when either fails.
    void keep();

  private:
    struct Close {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    [[noreturn]] void fail(int error) const;

    std::string path_;
    std::string temporary_;
    std::unique_ptr<std::FILE, Close> file_;
    bool kept_ = false;
};

}  // namespace mirelune::encoder

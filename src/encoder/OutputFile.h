#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "encoder/FileBytes.h"

namespace mirelune::encoder {

// The file an encode writes. Unless keep() succeeds, the destructor removes
// it, so a failed encode never leaves anything that could pass for a result.
class OutputFile {
  public:
    // Creates or empties the file. Throws EncoderFailure.
    explicit OutputFile(std::string path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void write(const std::uint8_t* data, std::size_t size);
    void write(const Bytes& bytes) { write(bytes.data(), bytes.size()); }
    void write(const Bytes& file, Span part) { write(file.data() + part.offset, part.size); }
    // Overwrites bytes already written, from offset on.
    void rewrite(std::size_t offset, const Bytes& bytes);

    // Closes the file for good; throws when its last bytes cannot be stored.
    void keep();

  private:
    struct Close {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    [[noreturn]] void fail(int error) const;

    std::string path_;
    std::unique_ptr<std::FILE, Close> file_;
    bool kept_ = false;
};

}  // namespace mirelune::encoder

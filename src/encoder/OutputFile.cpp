#include "encoder/OutputFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "encoder/EncoderFailure.h"

namespace mirelune::encoder {

OutputFile::OutputFile(std::string path) : path_(std::move(path)) {
    // A device or a pipe cannot take the header frame written last, and
    // removing one after a failure would do harm.
    struct stat existing {};
    if (stat(path_.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        throw EncoderFailure("cannot write " + path_ + ": not a regular file");
    }
    file_.reset(std::fopen(path_.c_str(), "wb"));
    if (!file_) {
        fail(errno);
    }
}

OutputFile::~OutputFile() {
    if (!kept_) {
        file_.reset();
        std::remove(path_.c_str());
    }
}

void OutputFile::fail(int error) const {
    throw EncoderFailure("cannot write " + path_ + ": " + std::strerror(error != 0 ? error : EIO));
}

void OutputFile::write(const std::uint8_t* data, std::size_t size) {
    if (size > 0 && std::fwrite(data, 1, size, file_.get()) != size) {
        fail(errno);
    }
}

void OutputFile::rewrite(std::size_t offset, const Bytes& bytes) {
    if (std::fseek(file_.get(), static_cast<long>(offset), SEEK_SET) != 0) {
        fail(errno);
    }
    write(bytes);
    if (std::fseek(file_.get(), 0, SEEK_END) != 0) {
        fail(errno);
    }
}

void OutputFile::keep() {
    errno = 0;
    const bool flushed = std::fflush(file_.get()) == 0;
    const int flushError = errno;
    const bool closed = std::fclose(file_.release()) == 0;
    if (!flushed || !closed) {
        fail(flushError != 0 ? flushError : errno);
    }
    kept_ = true;
}

}  // namespace mirelune::encoder

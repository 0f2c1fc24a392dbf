// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace mirelune::mp3 {

// A file opened for reading at absolute offsets. Reads are served from one
// window of the file kept in memory, so the frame search, the header reads and
// the first frame of a typical file cost one or two system reads. Closed on
// destruction.
class FileSource {
  public:
    FileSource() = default;
    ~FileSource();
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    // False when the path is missing, unreadable, or not a regular file.
    // FIFOs and devices are refused without being opened for reading, so
    // the call never blocks on them.
    bool Open(const std::string& path);
    void Close();
    bool isOpen() const noexcept;

    std::uint64_t size() const noexcept { return size_; }

    // Copies up to count bytes at offset; returns how many exist there.
    std::size_t ReadAt(std::int64_t offset, std::uint8_t* out, std::size_t count);
    // Like ReadAt, but bytes past the end of the file read as 0.
    void ReadAtZeroFilled(std::int64_t offset, std::uint8_t* out, std::size_t count);
    // For a one-off read elsewhere in the file (the tail): served from the
    // window when it holds the bytes, else read without replacing the
    // window, which the rest of the analysis still needs.
    void ReadAtZeroFilledOnce(std::int64_t offset, std::uint8_t* out, std::size_t count);

  private:
    bool WindowHolds(std::int64_t offset, std::size_t count) const noexcept;
    std::size_t Available(std::int64_t offset, std::size_t count) const noexcept;
    std::size_t ReadDirect(std::int64_t offset, std::uint8_t* out, std::size_t count);

    // Most files are decided within their first few kilobytes (a frame at
    // the start, or a tag to skip), so the first read of a file is small;
    // later reads take a bigger window for a long search.
    static constexpr std::size_t kFirstWindowSize = 4 * 1024;
    static constexpr std::size_t kWindowSize = 16 * 1024;

#ifdef _WIN32
    void* file_ = nullptr;  // std::FILE*
#else
    int fd_ = -1;
#endif
    std::uint64_t size_ = 0;
    // Allocated once and kept across files, so reusing one source costs no
    // allocation per file.
    std::unique_ptr<std::uint8_t[]> window_;
    std::size_t windowLength_ = 0;
    std::int64_t windowStart_ = 0;
    bool windowFilled_ = false;  // since this file was opened
};

}  // namespace mirelune::mp3

#pragma once

#include <QString>
#include <utility>

namespace mirelune {

// The encoder never writes the output path itself: it writes a hidden
// temporary file beside it, which replaces the output only once it has
// proved to be a valid MP3 file. A failed run therefore leaves nothing that
// looks like a result, and whatever was at the output path stays as it was.
class ResultFile {
  public:
    explicit ResultFile(QString outputPath) : output_(std::move(outputPath)) {}
    ~ResultFile() { discard(); }

    ResultFile(const ResultFile&) = delete;
    ResultFile& operator=(const ResultFile&) = delete;

    // Creates the temporary file, empty, in the output's folder under a name
    // nobody else holds. Returns an empty text, or why it failed.
    QString reserve();

    const QString& outputPath() const { return output_; }
    // Empty until reserve() succeeds, and again after accept() or discard().
    const QString& temporaryPath() const { return temporary_; }

    // Reads the temporary file with our own analysis and, when it is a valid
    // MP3 stream, moves it onto the output path in one step. Returns an empty
    // text, or the reason it was refused; a refused file is removed.
    QString accept();

    // Removes the temporary file; quiet, and harmless to repeat.
    void discard() noexcept;

  private:
    QString output_;
    QString temporary_;
};

}  // namespace mirelune

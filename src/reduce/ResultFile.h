#pragma once

#include <QString>
#include <utility>

#include "reduce/MoveIntoPlace.h"

namespace mirelune {

// The encoder never writes the output path itself: it writes a hidden
// temporary file beside it, which takes the output's name only once it has
// proved to be a valid MP3 file. A failed run therefore leaves nothing that
// looks like a result, and whatever was at the output path stays as it was.
class ResultFile {
  public:
    explicit ResultFile(QString outputPath) : output_(std::move(outputPath)) {}
    ~ResultFile() { discard(); }

    ResultFile(const ResultFile&) = delete;
    ResultFile& operator=(const ResultFile&) = delete;

    // Creates the temporary file, empty, in the output's folder under a short
    // name nobody else holds, so an output name at the file system's limit
    // still has a temporary name. The result will have the read and write
    // bits of sourceMode (as in st_mode; the umask applies as to any new
    // file), never more. Returns an empty text, or why it failed.
    QString reserve(unsigned sourceMode);

    const QString& outputPath() const { return output_; }
    // Empty until reserve() succeeds, and again after accept() or discard().
    const QString& temporaryPath() const { return temporary_; }

    enum class Acceptance { Placed, Exists, Refused };
    // Reads the temporary file with our own analysis and, when it is a valid
    // MP3 stream, moves it onto the output path in one step; with
    // Replace::No only when nothing is there. Anything but Placed removes
    // the temporary file; why is then in refusal().
    Acceptance accept(Replace replace);
    const QString& refusal() const { return refusal_; }

    // Removes the temporary file; quiet, and harmless to repeat.
    void discard() noexcept;

  private:
    QString output_;
    QString temporary_;
    unsigned resultMode_ = 0;
    QString refusal_;
};

// The name a temporary result gets: short, hidden, and not ending in ".mp3",
// so a leftover never passes for a result.
bool IsTemporaryResultName(const QString& fileName);

}  // namespace mirelune

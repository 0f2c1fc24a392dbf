// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "landing/PlacementCalls.h"
#include "landing/ReservedName.h"
#include "runs/MadeResult.h"
#include "runs/RunMark.h"

namespace mirelune {

// The encoder never writes the output path itself: it writes a hidden
// temporary file beside it, whose content reaches the output's name only once
// it has proved to be a valid MP3 file. A failed run therefore leaves nothing
// that looks like a result, and whatever was at the output path stays as it
// was.
class ResultFile {
  public:
    explicit ResultFile(QString outputPath, const PlacementCalls& calls = SystemPlacementCalls())
        : output_(std::move(outputPath)), calls_(calls) {}
    ~ResultFile() { discard(); }

    ResultFile(const ResultFile&) = delete;
    ResultFile& operator=(const ResultFile&) = delete;

    enum class Reservation { Ready, Exists, Failed };
    // Creates the temporary file, empty, in the output's folder under a short
    // name nobody else holds (so an output name at the file system's limit
    // still has one), then holds the output name itself (see ReservedName).
    // A name that is taken is Exists with Replace::No; with Replace::Yes the
    // file there is replaced when the result is ready. A reservation left by
    // a run that died is removed first, and so, the first time this process
    // writes into the folder, is everything else dead runs left there. The result will have the
    // read and write bits of sourceMode (as in st_mode; the umask applies as to any new file),
    // never more. Failed says why in refusal().
    Reservation reserve(unsigned sourceMode, Replace replace);

    const QString& outputPath() const { return output_; }
    // Empty until reserve() succeeds, and again after accept() or discard().
    const QString& temporaryPath() const { return temporary_; }

    enum class Acceptance { Placed, Exists, Refused };
    // Told what the result will be at its name (its stamp, hash and
    // identity), just before it takes it; a text refuses the result with
    // that reason.
    using BeforePlacing = std::function<QString(const MadeResult& result)>;
    // Opens the temporary file once and from then on works only on that
    // descriptor, whatever its name comes to hold: it must be a regular file
    // of ours with one link. When our own analysis finds a valid MP3 stream
    // there it gets the result's mode and both times modifiedMs (when given;
    // the copy into a held name keeps them too), its bytes are flushed, and
    // it takes the output name. Exists when someone else's file took the
    // held name meanwhile (it stays). Anything but Placed removes the
    // temporary file and the reservation; why is then in refusal().
    Acceptance accept(std::optional<qint64> modifiedMs = std::nullopt,
                      const BeforePlacing& beforePlacing = {});
    // After Placed: what is at the output name, as placed.
    const std::optional<MadeResult>& placed() const { return placed_; }
    const QString& refusal() const { return refusal_; }

    // Removes the temporary file and the reservation; quiet, and harmless to
    // repeat.
    void discard() noexcept;

  private:
#ifdef Q_OS_UNIX
    // Moves the temporary file open as made onto the output path, replacing
    // what is there, while the name still names it: 0, ESTALE when it does
    // not, or the system's error number.
    int replaceWith(int made);
#endif
    QString output_;
    const PlacementCalls& calls_;
    ReservedName name_;
    // The run's mark in the output's folder, for as long as the temporary
    // file may be there.
    std::unique_ptr<RunMarkHold> hold_;
    QString temporary_;
    unsigned resultMode_ = 0;
    Replace replace_ = Replace::No;
    QString refusal_;
    std::optional<MadeResult> placed_;
};

// The name a temporary result gets: short, hidden, and not ending in ".mp3",
// so a leftover never passes for a result. Both forms of TemporaryResultName.h.
bool IsTemporaryResultName(const QString& fileName);

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

#include "landing/RowReasons.h"

namespace mirelune {

// How one source's reduction ended.
struct ReductionOutcome {
    // Skipped: a file that is not to be replaced holds the output path, found
    // when the row's turn came or when its result was ready (then dropped).
    // Interrupted: stopped because the user asked the job to stop, by the
    // job itself or by a signal (Ctrl+C reaches the encoders too); nothing is
    // wrong with the file.
    enum class Status { Pending, Reduced, Failed, Skipped, Interrupted };

    Status status = Status::Pending;
    // The encoder's exit code, kStartFailureCode when it never ran, or -1
    // when it was stopped by a signal.
    qint32 exitCode = 0;
    // The last line the encoder wrote to its error output, without its
    // progress text and control characters.
    QString lastLine;
    // For a failure or a skip: why, in words for the user.
    QString reason;
    // For a result: what the encoder had to say about its source while it
    // still made it (a tag it had to leave out), without its name.
    QString note;
    // For a result that was to keep its source's time: the target gave it
    // another, which its record holds.
    bool timeNotKept = false;
};

// The note a successful encoder's last line holds: its own warning, without
// the program's and the source's name; empty for anything else.
QString EncoderNote(const QString& lastLine, const QString& source);


}  // namespace mirelune

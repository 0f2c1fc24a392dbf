// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

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

// The reasons a row can fail or be skipped, as the user reads them after
// "Done." or in the command line's report.
namespace reason {
QString CannotStartEncoder();
// The encoder's own last message, or its exit code when it said nothing.
QString EncoderFailed(qint32 code, const QString& lastLine);
QString EncoderStopped(const QString& lastLine);
QString NotValidMp3();
QString WouldOverwriteSource();
// A folder below the output folder that is a link (or no folder at all).
QString FolderIsNoRealFolder(const QString& folder);
QString NoOutputChoice();
QString NoTargetBitrate();
QString RowUnreadable();
QString SourceGone();
QString NoSpace();
QString NameTooLong();
// Skips: a file the job did not make holds the output path, or the listed
// file is itself the output of another listed source.
QString Exists();
// The source changed since its recorded result was made.
QString Outdated();
QString ResultOf(const QString& sourceName);
// A failure of the system, errnum as in errno.
QString CannotWriteIn(const QString& folder, int errnum);
QString CannotReplace(const QString& output, int errnum);
QString CannotWriteResult(const QString& output, int errnum);
// The target's file system would not create a file of that name.
QString NameRefused(const QString& fileName);
QString SystemErrorText(int errnum);
// ENOSPC, or a quota that is used up.
bool IsNoSpace(int errnum);
}  // namespace reason

}  // namespace mirelune

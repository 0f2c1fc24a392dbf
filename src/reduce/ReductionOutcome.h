#pragma once

#include <QString>
#include <QtGlobal>

namespace mirelune {

// How one source's reduction ended.
struct ReductionOutcome {
    enum class Status { Pending, Reduced, Failed, Aborted };

    Status status = Status::Pending;
    // The encoder's exit code, kStartFailureCode when it never ran, or -1
    // when it was stopped by a signal.
    qint32 exitCode = 0;
    // The last line the encoder printed, control characters removed.
    QString lastLine;
    // For a failure: why, in words for the user.
    QString reason;
};

// The reasons a row can fail, as the user reads them after "Done.".
namespace reason {
QString CannotStartEncoder();
QString EncoderExitCode(qint32 code, const QString& lastLine);
QString EncoderStopped(const QString& lastLine);
QString NotValidMp3();
QString WouldOverwriteSource();
QString NoOutputChoice();
QString NoTargetBitrate();
QString RowUnreadable();
QString CannotMakeTemporary(const QString& folder, const QString& error);
QString CannotReplace(const QString& output, const QString& error);
}  // namespace reason

}  // namespace mirelune

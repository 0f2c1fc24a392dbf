// SPDX-License-Identifier: GPL-3.0-or-later
#include "landing/RowReasons.h"

#include <QCoreApplication>
#include <QDir>
#include <cerrno>

#include "shell/NameText.h"

namespace mirelune::reason {

// The window shows these in the user's language; the command line, which
// loads no translation, in English.

bool IsNoSpace(int errnum) {
#ifdef EDQUOT
    if (errnum == EDQUOT) {
        return true;
    }
#endif
    return errnum == ENOSPC;
}

QString CannotStartEncoder() {
    return QCoreApplication::translate("ReductionOutcome", "could not start the encoder");
}

QString EncoderFailed(qint32 code, const QString& lastLine) {
    if (!lastLine.isEmpty()) {
        return lastLine;
    }
    return QCoreApplication::translate("ReductionOutcome", "the encoder failed with exit code %1")
        .arg(code);
}

QString EncoderStopped(const QString& lastLine) {
    QString text =
        QCoreApplication::translate("ReductionOutcome", "the encoder stopped unexpectedly");
    if (!lastLine.isEmpty()) {
        text += QStringLiteral(": ") + lastLine;
    }
    return text;
}

QString NotValidMp3() {
    return QCoreApplication::translate("ReductionOutcome", "result not a valid MP3 file");
}

QString WouldOverwriteSource() {
    return QCoreApplication::translate("ReductionOutcome", "would overwrite its source");
}

QString FolderIsNoRealFolder(const QString& folder) {
    return QCoreApplication::translate("ReductionOutcome",
                                       "%1 is a link or no folder: results go only into real "
                                       "folders below the output folder")
        .arg(ShownPath(QDir::toNativeSeparators(folder)));
}

QString NoOutputChoice() {
    return QCoreApplication::translate("ReductionOutcome", "no choice where to save the result");
}

QString NoTargetBitrate() {
    return QCoreApplication::translate("ReductionOutcome", "no target bitrate chosen");
}

QString RowUnreadable() {
    return QCoreApplication::translate("ReductionOutcome", "the list row could not be read");
}

QString SourceGone() {
    return QCoreApplication::translate("ReductionOutcome", "the file no longer exists");
}

QString NoSpace() {
    return QCoreApplication::translate("ReductionOutcome", "no space left on the device");
}

QString NameTooLong() {
    return QCoreApplication::translate("ReductionOutcome",
                                       "the result's name would be too long for the file system");
}

QString Exists() {
    return QCoreApplication::translate("ReductionOutcome", "exists");
}

QString Outdated() {
    return QCoreApplication::translate("ReductionOutcome", "outdated");
}

QString ResultOf(const QString& sourceName) {
    return QCoreApplication::translate("ReductionOutcome", "result of %1")
        .arg(ShownPath(sourceName));
}

QString CannotWriteIn(const QString& folder, int errnum) {
    if (IsNoSpace(errnum)) {
        return NoSpace();
    }
    return QCoreApplication::translate("ReductionOutcome", "could not write in %1: %2")
        .arg(ShownPath(QDir::toNativeSeparators(folder)), SystemErrorText(errnum));
}

QString CannotReplace(const QString& output, int errnum) {
    if (IsNoSpace(errnum)) {
        return NoSpace();
    }
    return QCoreApplication::translate("ReductionOutcome", "could not replace %1: %2")
        .arg(ShownPath(QDir::toNativeSeparators(output)), SystemErrorText(errnum));
}

QString CannotWriteResult(const QString& output, int errnum) {
    if (IsNoSpace(errnum)) {
        return NoSpace();
    }
    return QCoreApplication::translate("ReductionOutcome", "could not write %1: %2")
        .arg(ShownPath(QDir::toNativeSeparators(output)), SystemErrorText(errnum));
}

QString NameRefused(const QString& fileName) {
    return QCoreApplication::translate("ReductionOutcome", "the target does not accept the name %1")
        .arg(ShownPath(fileName));
}

QString SystemErrorText(int errnum) {
    if (IsNoSpace(errnum)) {
        return NoSpace();
    }
    if (errnum == ENOENT) {
        return QCoreApplication::translate("ReductionOutcome", "the folder no longer exists");
    }
    if (errnum == EROFS) {
        return QCoreApplication::translate("ReductionOutcome", "the medium is read-only");
    }
    // The system's own words, as a clause: "permission denied".
    QString text = qt_error_string(errnum);
    if (!text.isEmpty()) {
        text[0] = text[0].toLower();
    }
    return text;
}

}  // namespace mirelune::reason

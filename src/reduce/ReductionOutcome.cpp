// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/ReductionOutcome.h"

#include <QDir>
#include <cerrno>

#include "shell/NameText.h"

namespace mirelune {

QString EncoderNote(const QString& lastLine, const QString& source) {
    const QString program = QStringLiteral("mirelune-encoder: ");
    if (!lastLine.startsWith(program)) {
        return {};
    }
    QString note = lastLine.mid(program.size());
    if (note.startsWith(source + QStringLiteral(": "))) {
        note.remove(0, source.size() + 2);
    }
    return note;
}

}  // namespace mirelune

namespace mirelune::reason {

bool IsNoSpace(int errnum) {
#ifdef EDQUOT
    if (errnum == EDQUOT) {
        return true;
    }
#endif
    return errnum == ENOSPC;
}

QString CannotStartEncoder() {
    return QStringLiteral("could not start the encoder");
}

QString EncoderFailed(qint32 code, const QString& lastLine) {
    if (!lastLine.isEmpty()) {
        return lastLine;
    }
    return QStringLiteral("the encoder failed with exit code ") + QString::number(code);
}

QString EncoderStopped(const QString& lastLine) {
    QString text = QStringLiteral("the encoder stopped unexpectedly");
    if (!lastLine.isEmpty()) {
        text += QStringLiteral(": ") + lastLine;
    }
    return text;
}

QString NotValidMp3() {
    return QStringLiteral("result not a valid MP3 file");
}

QString WouldOverwriteSource() {
    return QStringLiteral("would overwrite its source");
}

QString NoOutputChoice() {
    return QStringLiteral("no choice where to save the result");
}

QString NoTargetBitrate() {
    return QStringLiteral("no target bitrate chosen");
}

QString RowUnreadable() {
    return QStringLiteral("the list row could not be read");
}

QString SourceGone() {
    return QStringLiteral("the file no longer exists");
}

QString NoSpace() {
    return QStringLiteral("no space left on the device");
}

QString NameTooLong() {
    return QStringLiteral("the result's name would be too long for the file system");
}

QString Exists() {
    return QStringLiteral("exists");
}

QString Outdated() {
    return QStringLiteral("outdated");
}

QString ResultOf(const QString& sourceName) {
    return QStringLiteral("result of ") + ShownPath(sourceName);
}

QString CannotWriteIn(const QString& folder, int errnum) {
    if (IsNoSpace(errnum)) {
        return NoSpace();
    }
    return QStringLiteral("could not write in %1: %2")
        .arg(ShownPath(QDir::toNativeSeparators(folder)), SystemErrorText(errnum));
}

QString CannotReplace(const QString& output, int errnum) {
    if (IsNoSpace(errnum)) {
        return NoSpace();
    }
    return QStringLiteral("could not replace %1: %2")
        .arg(ShownPath(QDir::toNativeSeparators(output)), SystemErrorText(errnum));
}

QString CannotWriteResult(const QString& output, int errnum) {
    if (IsNoSpace(errnum)) {
        return NoSpace();
    }
    return QStringLiteral("could not write %1: %2")
        .arg(ShownPath(QDir::toNativeSeparators(output)), SystemErrorText(errnum));
}

QString NameRefused(const QString& fileName) {
    return QStringLiteral("the target does not accept the name %1").arg(ShownPath(fileName));
}

QString SystemErrorText(int errnum) {
    if (IsNoSpace(errnum)) {
        return NoSpace();
    }
    if (errnum == ENOENT) {
        return QStringLiteral("the folder no longer exists");
    }
    if (errnum == EROFS) {
        return QStringLiteral("the medium is read-only");
    }
    // The system's own words, as a clause: "permission denied".
    QString text = qt_error_string(errnum);
    if (!text.isEmpty()) {
        text[0] = text[0].toLower();
    }
    return text;
}

}  // namespace mirelune::reason

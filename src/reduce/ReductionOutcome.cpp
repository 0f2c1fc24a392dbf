#include "reduce/ReductionOutcome.h"

#include <QDir>

namespace mirelune::reason {
namespace {

QString WithLine(QString text, const QString& lastLine) {
    if (!lastLine.isEmpty()) {
        text += QStringLiteral(": ") + lastLine;
    }
    return text;
}

}  // namespace

QString CannotStartEncoder() {
    return QStringLiteral("could not start the encoder");
}

QString EncoderExitCode(qint32 code, const QString& lastLine) {
    return WithLine(QStringLiteral("encoder exit code ") + QString::number(code), lastLine);
}

QString EncoderStopped(const QString& lastLine) {
    return WithLine(QStringLiteral("the encoder stopped unexpectedly"), lastLine);
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

QString CannotMakeTemporary(const QString& folder, const QString& error) {
    return QStringLiteral("could not write in %1: %2").arg(QDir::toNativeSeparators(folder), error);
}

QString CannotReplace(const QString& output, const QString& error) {
    return QStringLiteral("could not replace %1: %2").arg(QDir::toNativeSeparators(output), error);
}

}  // namespace mirelune::reason

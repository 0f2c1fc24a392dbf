// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/ReductionOutcome.h"


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

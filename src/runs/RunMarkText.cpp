// SPDX-License-Identifier: GPL-3.0-or-later
#include "runs/RunMarkText.h"

#include <QCryptographicHash>

namespace mirelune {
namespace {

const QByteArray kRunMarkLine = QByteArrayLiteral("MIRELUNE-RUN\n");

QByteArray CheckOf(const QByteArray& fileName) {
    return QCryptographicHash::hash(fileName, QCryptographicHash::Sha1).toHex().left(8);
}

}  // namespace

QByteArray RunMarkText::header(const RunOwner& owner) {
    return kRunMarkLine + owner.lines();
}

QByteArray RunMarkText::announcement(const QByteArray& fileName) {
    return '+' + fileName.toPercentEncoding() + ' ' + CheckOf(fileName) + '\n';
}

RunMarkText RunMarkText::parse(const QByteArray& bytes) {
    RunMarkText mark;
    if (!bytes.startsWith(kRunMarkLine)) {
        return mark;
    }
    QList<QByteArray> lines = bytes.mid(kRunMarkLine.size()).split('\n');
    // What follows the last line end was cut short while being written.
    lines.removeLast();
    if (lines.size() < 2) {
        return mark;
    }
    mark.owner = RunOwner::parse(lines[0], lines[1]);
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        const qsizetype blank = line.lastIndexOf(' ');
        if (!line.startsWith('+') || blank < 0) {
            continue;
        }
        const QByteArray name = QByteArray::fromPercentEncoding(line.mid(1, blank - 1));
        if (!name.isEmpty() && line.mid(blank + 1) == CheckOf(name)) {
            mark.announced.append(name);
        }
    }
    return mark;
}

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "landing/UnfinishedMark.h"

#include <QRandomGenerator>
#include <algorithm>

#include "runs/RunLiveness.h"

namespace mirelune {

const QByteArray& UnfinishedMarkLine() {
    static const QByteArray line = QByteArrayLiteral("MIRELUNE-UNFINISHED\n");
    return line;
}

QByteArray NewUnfinishedMark() {
    const QByteArray tag = QByteArray::number(QRandomGenerator::global()->generate64(), 36);
    return UnfinishedMarkLine() + OwnerLines() + tag + '\n';
}

bool IsUnfinishedMarkTag(const QByteArray& text) {
    return !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z');
    });
}

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRandomGenerator>
#include <QString>

namespace mirelune {

// length random lower-case letters and digits: a part of a file name that
// every file system takes and that tells one writer's files from another's.
inline QString RandomTag(int length) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QString tag;
    for (int i = 0; i < length; ++i) {
        tag += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(36)]);
    }
    return tag;
}

}  // namespace mirelune

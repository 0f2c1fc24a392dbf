// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/DistinctNames.h"

#include "shell/PathHelpers.h"

namespace mirelune {
namespace {

// The tails of path shorter than path itself, from the last component up;
// the whole path is the name of last resort and needs no count.
QStringList Tails(const QString& path) {
    const QStringList parts = path.split(kPathSeparator);
    QStringList tails;
    for (qsizetype k = parts.size() - 1; k > 0; --k) {
        tails.append(parts.mid(k).join(kPathSeparator));
    }
    return tails;
}

}  // namespace

DistinctNames::DistinctNames(const QStringList& paths) {
    for (const QString& path : paths) {
        if (listed_.contains(path)) {
            continue;
        }
        listed_.insert(path);
        for (const QString& tail : Tails(path)) {
            ++tails_[tail];
        }
    }
}

QString DistinctNames::of(const QString& path) const {
    const int itself = listed_.contains(path) ? 1 : 0;
    for (const QString& tail : Tails(path)) {
        if (tails_.value(tail) - itself == 0) {
            return tail;
        }
    }
    return path;
}

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

#include "runs/RunOwner.h"

namespace mirelune {

// What a run mark holds: its first line, the owner's two lines, then one line
// for each name the run announced in the mark's folder before creating it:
//
//   +<name, percent-encoded> <check>
//
// '+' appears nowhere else in a line, and the check is the name's own, so a
// line that a rewrite cut short or ran into another is never read as a name.
struct RunMarkText {
    std::optional<RunOwner> owner;  // nothing: cut short, or not a mark
    QList<QByteArray> announced;

    static RunMarkText parse(const QByteArray& bytes);
    static QByteArray header(const RunOwner& owner);
    static QByteArray announcement(const QByteArray& fileName);
};

// Marks stay far below this; a reader reads no more.
inline constexpr qint64 kMaxRunMarkBytes = 64 * 1024;

}  // namespace mirelune

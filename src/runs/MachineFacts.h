// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QtGlobal>

namespace mirelune {

// What a process on this machine looks like from here.
struct ProcessSeen {
    enum class State {
        Gone,     // no such process
        Zombie,   // ended, not yet reaped by its parent
        Running,  // startTime says since when
        Hidden,   // it exists, but /proc will not say more (hidepid)
    };
    State state = State::Gone;
    quint64 startTime = 0;  // clock ticks after boot, for Running
};

// The facts about this machine that decide whether a run can still be going,
// in one place, so that another machine, another boot or a skewed clock can
// be played without one.
class MachineFacts {
  public:
    virtual ~MachineFacts() = default;
    // Empty where the machine has none.
    virtual QByteArray machineId() const = 0;
    // Empty where unknown.
    virtual QByteArray bootId() const = 0;
    // 0 where unknown.
    virtual quint64 pidNamespace() const = 0;
    virtual QByteArray hostName() const = 0;
    virtual qint64 pid() const = 0;
    virtual ProcessSeen process(qint64 pid) const = 0;
    // When this boot began, by the local clock; invalid where unknown.
    virtual QDateTime bootTime() const = 0;
};

// This machine's, read from /etc and /proc.
const MachineFacts& SystemFacts();

// The field after the last ')' of a /proc/PID/stat line that the stat(5)
// manual numbers field (field 3 is the state, 22 the start time).
QByteArray StatField(const QByteArray& statLine, int field);

}  // namespace mirelune

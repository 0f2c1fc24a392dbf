// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <optional>

namespace mirelune {

// Whose a file a run left behind is, as its marks write it: two lines, so
// that a version that knew only a host name and a pid still reads them. The
// first line starts with "id ", which no host name does, so such a version
// takes a mark of ours for another machine's and leaves it a day.
//
//   id <machine id> <boot id> <pid namespace> <start time> <host name>
//   <pid>
//
// A fact the machine would not tell is written "-" (0 for the numbers) and
// never matches anything. Marks written before hold "<host>\n<pid>\n".
struct RunOwner {
    QByteArray machineId;      // /etc/machine-id; empty: none, the host name stands in
    QByteArray bootId;         // empty: unknown
    quint64 pidNamespace = 0;  // inode of the pid namespace; 0: unknown
    quint64 startTime = 0;     // clock ticks after boot; 0: unknown
    QByteArray hostName;
    qint64 pid = 0;               // 0: not a number
    bool hostAndPidOnly = false;  // the format that names host and pid alone

    // The two lines, each ending in '\n'.
    QByteArray lines() const;

    // From the first two lines of a mark (without their '\n'); nothing when
    // they are not an owner's.
    static std::optional<RunOwner> parse(const QByteArray& first, const QByteArray& second);

    bool sameMachineAs(const RunOwner& other) const;

    friend bool operator==(const RunOwner& a, const RunOwner& b);
};

}  // namespace mirelune

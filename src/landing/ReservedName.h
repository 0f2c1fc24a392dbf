// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include "landing/PlacementCalls.h"

namespace mirelune {

// An output name held for one result from before its encoder starts until
// the result is in it. Creating the name new (O_CREAT|O_EXCL) is the one
// test every target answers the same way: a name that is taken, or that the
// file system refuses, is known before any work is spent on it, and no other
// writer can take the name meanwhile.
//
// Until the result is in place the file holds only the unfinished mark, a
// few lines of text that no player takes for music. On file systems that can
// swap two names at once the finished result is swapped in whole. Elsewhere
// (FAT, exFAT, phones, many shares: no such swap, no hard links, and a
// rename that replaces) the result is copied into the held file itself, body
// first and the mark's bytes last, each step flushed: a crash at any moment
// leaves either the whole result or a file that still starts with the mark,
// which the next run recognises as a leftover and removes. Nothing another
// writer put at the name is ever replaced: the copy only writes into the
// file this object created, and a swap that finds a stranger puts it back.
class ReservedName {
  public:
    ReservedName() = default;
    ~ReservedName() { release(); }
    ReservedName(const ReservedName&) = delete;
    ReservedName& operator=(const ReservedName&) = delete;

    // Creates path, new, holding the unfinished mark. Returns 0, or the
    // system's error number (EEXIST when the name is taken).
    int reserve(const QString& path);
    bool held() const { return fd_ >= 0; }

    // Puts the finished file open as from (named fromPath in the same
    // folder, its mode and times set, its bytes down) at the held name,
    // where the result gets mode and from's times. Returns 0 once the result
    // is there; EEXIST when the name no longer holds the untouched reservation
    // (someone else's file is there, and stays); ESTALE when fromPath no
    // longer names from; or the system's error number. Reads from only
    // through its descriptor. On success fromPath names nothing of ours any
    // more; otherwise it is the caller's to remove.
    int fill(int from, const QString& fromPath, unsigned mode, const PlacementCalls& calls);

    // Removes the reservation while the name still holds it and nobody wrote
    // over its mark; quiet.
    void release() noexcept;

  private:
    bool nameIsOurs() const;
    bool untouched() const;
    int copyInto(int from, qint64 size, const PlacementCalls& calls);
    // Closes the handle and lets the name go, whatever is at it.
    void forget() noexcept;

    QString path_;
    QByteArray mark_;
    int fd_ = -1;
    bool filling_ = false;
};

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include "reduce/PlacementCalls.h"

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

// A held name holds a few lines: nothing bigger is one.
inline constexpr qint64 kMaxReservationBytes = 512;

// What may follow the unfinished mark in a held file.
enum class HeldContent {
    MarkOnly,      // nothing: the file holds no user data
    CopyCutShort,  // anything: a copy into our own held file was cut short
};

// Whether bytes, a file's content (or its head) last changed at touched,
// are the unfinished mark (the mark line, host, pid and tag) of a run that
// cannot be running any more: one of this machine whose process is gone, or
// one of another machine that has not touched the file for a day. Such a
// file is never a result: whoever wants its name may remove it.
bool IsDeadReservationText(const QByteArray& bytes, const QDateTime& touched, const QDateTime& now,
                           HeldContent held = HeldContent::MarkOnly);

// The same for the file at path: a regular file (a link is not followed),
// its head read without waiting. Only the mark, for another user's file;
// the mark and a copy cut short, for one of the running user's.
bool IsDeadReservation(const QString& path);

}  // namespace mirelune

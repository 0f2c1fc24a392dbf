// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <ctime>
#include <functional>

namespace mirelune {

enum class Replace { No, Yes };

namespace placement {
int SystemExchange(const QByteArray& a, const QByteArray& b);
int SystemOpen(const QByteArray& path, int flags);
qint64 SystemWrite(int fd, const char* data, qint64 size, qint64 offset);
int SystemFsync(int fd);
int SystemTruncate(int fd, qint64 size);
int SystemMode(int fd, unsigned mode);
int SystemTime(int fd, const struct timespec* times);
int SystemRename(const QByteArray& from, const QByteArray& to);
}  // namespace placement

// Every call that changes the file system while a finished result takes its
// name. FAT and exFAT drivers, phones and many network shares refuse the
// swap; tests hand in calls that refuse it, that stop the run after any step
// as a kill would, or that put a link where the run's file was in between.
// Each member but exchange answers as the system call it stands for (-1 and
// errno on failure); one left unset in an initialiser is the system's.
struct PlacementCalls {
    // Swaps the two names at once (renameat2 with RENAME_EXCHANGE): 0, or
    // the system's error number.
    std::function<int(const QByteArray& a, const QByteArray& b)> exchange =
        placement::SystemExchange;
    // open(2) without O_CREAT: a descriptor.
    std::function<int(const QByteArray& path, int flags)> open = placement::SystemOpen;
    // pwrite(2): how many bytes were written.
    std::function<qint64(int fd, const char* data, qint64 size, qint64 offset)> write =
        placement::SystemWrite;
    std::function<int(int fd)> fsync = placement::SystemFsync;
    // ftruncate(2), fchmod(2), futimens(2) and rename(2).
    std::function<int(int fd, qint64 size)> truncate = placement::SystemTruncate;
    std::function<int(int fd, unsigned mode)> mode = placement::SystemMode;
    std::function<int(int fd, const struct timespec* times)> time = placement::SystemTime;
    std::function<int(const QByteArray& from, const QByteArray& to)> rename =
        placement::SystemRename;
};
const PlacementCalls& SystemPlacementCalls();

// Whether an error of PlacementCalls::exchange means the file system has no
// such call, rather than that this swap failed.
bool ExchangeUnsupported(int error);

}  // namespace mirelune

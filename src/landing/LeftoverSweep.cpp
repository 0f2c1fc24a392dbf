// SPDX-License-Identifier: GPL-3.0-or-later
#include "landing/LeftoverSweep.h"

#include <QFile>
#include <algorithm>

#include "folders/RealFolders.h"
#include "landing/DeadReservation.h"
#include "landing/ResultFile.h"
#include "naming/TemporaryResultName.h"
#include "runs/RunLiveness.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mirelune {
namespace {

// No live encoder leaves its file unchanged this long.
constexpr qint64 kOrphanQuietSeconds = 60 * 60;

}  // namespace

bool TemporaryResultIsDead(const QString& folder, const QString& fileName, const QDateTime& touched,
                           const TargetClock& clock) {
    const QString runTag =
        QString::fromStdString(temporary_result::RunTagOf(fileName.toStdString()));
    if (runTag.isEmpty()) {
        return QuietTooLong(touched, clock);
    }
    const FolderHandle runs = OpenRecordFolder(folder, false);
    const QByteArray mark = QFile::encodeName(runTag + QStringLiteral(".run"));
#ifdef Q_OS_UNIX
    if (!StatusIn(runs, mark)) {
        return touched.secsTo(clock.now) > kOrphanQuietSeconds || QuietTooLong(touched, clock);
    }
#endif
    return RunMarkIsDeadIn(runs, mark, clock);
}

void SweepResultFolder(const QString& folder, const TargetClock& clock) {
#ifdef Q_OS_UNIX
    // Only regular files, never through a link, and only what a dead run
    // made: our own temporaries and marks, held names whose whole content
    // is a held-name mark (no user data, whoever's run left it), and the
    // running user's files at names a dead run announced that it left empty
    // or part-written.
    const uid_t me = ::geteuid();
    const FolderHandle here = OpenFolderBelow(folder, QString(), false);
    const FolderHandle runs = OpenRecordFolder(folder, false);
    const QList<RunMarkSeen> marks = RunMarksIn(runs, clock);
    // A few names at most: the ones dead runs had in flight.
    QList<QByteArray> announcedByDead;
    for (const RunMarkSeen& mark : marks) {
        if (mark.run && mark.owner == me) {
            announcedByDead += mark.announced;
        }
    }
    for (const QByteArray& name : NamesIn(here)) {
        const std::optional<struct stat> status = StatusIn(here, name);
        if (!status || !S_ISREG(status->st_mode)) {
            continue;
        }
        const QDateTime touched = ModifiedTimeOf(status->st_mtim.tv_sec, status->st_mtim.tv_nsec);
        if (IsTemporaryResultName(QFile::decodeName(name))) {
            if (status->st_uid == me &&
                TemporaryResultIsDead(folder, QFile::decodeName(name), touched, clock)) {
                RemoveIfSame(here, name, *status);
            }
        } else if (status->st_size < kMaxReservationBytes || announcedByDead.contains(name)) {
            const std::optional<SmallFile> held = ReadHead(here, name, kMaxReservationBytes);
            if (held && IsDeadReservationFile(name, *held, marks, clock, HeldContent::MarkOnly)) {
                RemoveIfSame(here, name, held->status);
            }
        }
    }
    // The marks last, so a sweep cut short still finds the files they cover.
    for (const RunMarkSeen& mark : marks) {
        const QByteArray name = mark.tag + ".run";
        const std::optional<struct stat> status = StatusIn(runs, name);
        if (mark.dead && status && S_ISREG(status->st_mode) && status->st_uid == me) {
            RemoveIfSame(runs, name, *status);
        }
    }
#else
    Q_UNUSED(folder);
    Q_UNUSED(clock);
#endif
}

void SweepEncoderFolders(const QStringList& bases, const QDateTime& now,
                         const QString& programName) {
#ifdef Q_OS_UNIX
    const QByteArray program = QFile::encodeName(programName);
    const QByteArray markName(kEncoderFolderMark);
    const TargetClock clock{now, 0};
    for (const QString& base : bases) {
        const FolderHandle parent = OpenFolderBelow(base, QString(), false);
        for (const QByteArray& name : NamesIn(parent)) {
            if (!name.startsWith("mirelune-") || name.size() != 15) {
                continue;
            }
            const std::optional<struct stat> status = StatusIn(parent, name);
            if (!status || !S_ISDIR(status->st_mode) || status->st_uid != ::geteuid()) {
                continue;
            }
            const FolderHandle folder = OpenFolderBelow(base, QFile::decodeName(name), false);
            const QList<QByteArray> entries = NamesIn(folder);
            const bool onlyOurs =
                folder.isOpen() &&
                std::all_of(entries.cbegin(), entries.cend(), [&](const QByteArray& entry) {
                    return entry == program || entry == markName;
                });
            if (!onlyOurs) {
                continue;  // not a folder we made, or something else was put in
            }
            // A folder without its mark was cut short while being made.
            const bool dead =
                entries.contains(markName)
                    ? RunMarkIsDeadIn(folder, markName, clock)
                    : QuietTooLong(ModifiedTimeOf(status->st_mtim.tv_sec, status->st_mtim.tv_nsec),
                                   clock);
            if (!dead) {
                continue;
            }
            for (const QByteArray& entry : entries) {
                if (const std::optional<struct stat> file = StatusIn(folder, entry)) {
                    if (S_ISREG(file->st_mode)) {
                        RemoveIfSame(folder, entry, *file);
                    }
                }
            }
            ::unlinkat(parent.fd(), name.constData(), AT_REMOVEDIR);
        }
    }
#else
    Q_UNUSED(bases);
    Q_UNUSED(now);
    Q_UNUSED(programName);
#endif
}

}  // namespace mirelune

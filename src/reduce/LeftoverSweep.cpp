// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/LeftoverSweep.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include "reduce/DeleteFileQuietly.h"
#include "reduce/EncoderCopy.h"
#include "reduce/RealFolders.h"
#include "reduce/ReservedName.h"
#include "reduce/ResultFile.h"
#include "reduce/RunLiveness.h"
#include "reduce/RunMark.h"
#include "reduce/TemporaryResultName.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mirelune {
namespace {

// No live encoder leaves its file unchanged this long.
constexpr qint64 kOrphanQuietSeconds = 60 * 60;

bool OwnedByThisUser(const QFileInfo& info) {
#ifdef Q_OS_UNIX
    return info.ownerId() == ::getuid();
#else
    Q_UNUSED(info);
    return true;
#endif
}

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
    QSet<QByteArray> announcedByDead;
    for (const RunMarkSeen& mark : marks) {
        if (mark.run && mark.owner == me) {
            announcedByDead.unite(QSet<QByteArray>(mark.announced.cbegin(), mark.announced.cend()));
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

void SweepEncoderFolders(const QStringList& bases, const QDateTime& now) {
    const QString program = EncoderFileName();
    const QString markName = QLatin1String(kEncoderFolderMark);
    for (const QString& base : bases) {
        const QFileInfoList folders = QDir(base).entryInfoList(
            {QStringLiteral("mirelune-??????")}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
            QDir::NoSort);
        for (const QFileInfo& folder : folders) {
            if (folder.isSymLink() || !OwnedByThisUser(folder)) {
                continue;
            }
            const QDir inside(folder.filePath());
            const QStringList entries = inside.entryList(QDir::AllEntries | QDir::Hidden |
                                                         QDir::System | QDir::NoDotAndDotDot);
            bool onlyOurs = true;
            for (const QString& entry : entries) {
                onlyOurs = onlyOurs && (entry == program || entry == markName);
            }
            if (!onlyOurs) {
                continue;  // not a folder we made, or something else was put in
            }
            const QString mark = inside.filePath(markName);
            // A folder without its mark was cut short while being made.
            const bool dead = entries.contains(markName)
                                  ? RunMarkIsDead(mark, TargetClock{now, 0})
                                  : folder.lastModified().secsTo(now) > kForeignQuietSeconds;
            if (dead) {
                DeleteFileQuietly(inside.filePath(program));
                DeleteFileQuietly(mark);
                QDir(base).rmdir(folder.fileName());
            }
        }
    }
}

}  // namespace mirelune

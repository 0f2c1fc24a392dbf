// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/LeftoverSweep.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "reduce/DeleteFileQuietly.h"
#include "reduce/EncoderCopy.h"
#include "reduce/ReservedName.h"
#include "reduce/ResultFile.h"
#include "reduce/RunLiveness.h"
#include "reduce/RunMark.h"
#include "reduce/TemporaryResultName.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace mirelune {
namespace {

// No live encoder leaves its file unchanged this long.
constexpr qint64 kOrphanQuietSeconds = 60 * 60;
// A reservation holds a few lines; reading the head of bigger files would
// cost a read for every result in the folder.
constexpr qint64 kMaxReservationBytes = 512;

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
                           const QDateTime& now) {
    const QString runTag =
        QString::fromStdString(temporary_result::RunTagOf(fileName.toStdString()));
    const qint64 quiet = touched.secsTo(now);
    if (runTag.isEmpty()) {
        return quiet > kForeignQuietSeconds;
    }
    const QString mark = RunMarkPath(folder, runTag);
    if (!QFileInfo::exists(mark)) {
        return quiet > kOrphanQuietSeconds;
    }
    return RunMarkIsDead(mark, now);
}

void SweepResultFolder(const QString& folder, const QDateTime& now) {
    const QDir dir(folder);
    const QFileInfoList files =
        dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    for (const QFileInfo& file : files) {
        if (file.isSymLink()) {
            continue;
        }
        if (IsTemporaryResultName(file.fileName())) {
            if (TemporaryResultIsDead(folder, file.fileName(), file.lastModified(), now)) {
                DeleteFileQuietly(file.filePath());
            }
        } else if (file.size() < kMaxReservationBytes && IsDeadReservation(file.filePath())) {
            DeleteFileQuietly(file.filePath());
        }
    }
    // The marks last, so a sweep cut short still finds the files they cover.
    const QDir runs(RunFolderIn(folder));
    for (const QFileInfo& mark :
         runs.entryInfoList({QStringLiteral("*.run")}, QDir::Files | QDir::Hidden, QDir::NoSort)) {
        if (!mark.isSymLink() && RunMarkIsDead(mark.filePath(), now)) {
            QFile::remove(mark.filePath());
        }
    }
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
                                  ? RunMarkIsDead(mark, now)
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

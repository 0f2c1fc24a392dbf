// SPDX-License-Identifier: GPL-3.0-or-later
#include "landing/DeadReservation.h"

#include <QFile>
#include <QFileInfo>

#include "landing/UnfinishedMark.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace mirelune {

#ifdef Q_OS_UNIX

bool IsDeadReservationText(const QByteArray& bytes, const QDateTime& touched,
                           const TargetClock& clock, HeldContent held) {
    if (!bytes.startsWith(UnfinishedMarkLine())) {
        return false;
    }
    // The mark: the owner's two lines and the tag; nothing after it unless a
    // copy into the held file was cut short.
    const QList<QByteArray> lines = bytes.mid(UnfinishedMarkLine().size()).split('\n');
    if (held == HeldContent::MarkOnly &&
        (lines.size() != 4 || !lines[3].isEmpty() || !IsUnfinishedMarkTag(lines[2]))) {
        return false;
    }
    if (lines.size() < 3) {
        return false;  // the mark is still being written
    }
    const std::optional<RunOwner> owner = RunOwner::parse(lines[0], lines[1]);
    return owner && OwnerIsDead(*owner, touched, clock);
}

bool IsLeftoverHead(const QByteArray& head, const RunOwner& owner) {
    const QByteArray mark = UnfinishedMarkLine() + owner.lines();
    return mark.startsWith(head) || head.startsWith(mark);
}

bool IsDeadReservationFile(const QByteArray& name, const SmallFile& file,
                           const QList<RunMarkSeen>& marks, const TargetClock& clock,
                           HeldContent ofOurs) {
    // Another user's file counts only when all it holds is the mark.
    const bool ours = file.status.st_uid == ::geteuid();
    if (ours) {
        for (const RunMarkSeen& mark : marks) {
            if (mark.run && mark.owner == file.status.st_uid && mark.announced.contains(name) &&
                IsLeftoverHead(file.bytes, *mark.run)) {
                return true;
            }
        }
    }
    return (ours || file.status.st_size == file.bytes.size()) &&
           IsDeadReservationText(
               file.bytes, ModifiedTimeOf(file.status.st_mtim.tv_sec, file.status.st_mtim.tv_nsec),
               clock, ours ? ofOurs : HeldContent::MarkOnly);
}

namespace {

std::optional<SmallFile> DeadReservationAt(const QString& path, const TargetClock& clock,
                                           FolderHandle& folder) {
    const QFileInfo info(path);
    folder = OpenFolderBelow(info.path(), QString(), false);
    const QByteArray name = QFile::encodeName(info.fileName());
    std::optional<SmallFile> file = ReadHead(folder, name, kMaxReservationBytes);
    if (!file ||
        !IsDeadReservationFile(name, *file, RunMarksIn(OpenRecordFolder(info.path(), false), clock),
                               clock, HeldContent::CopyCutShort)) {
        return std::nullopt;
    }
    return file;
}

}  // namespace

bool IsDeadReservation(const QString& path, const TargetClock& clock) {
    FolderHandle folder;
    return DeadReservationAt(path, clock, folder).has_value();
}

bool RemoveDeadReservation(const QString& path, const TargetClock& clock) {
    FolderHandle folder;
    const std::optional<SmallFile> file = DeadReservationAt(path, clock, folder);
    return file &&
           RemoveIfSame(folder, QFile::encodeName(QFileInfo(path).fileName()), file->status);
}

#else  // not Unix: a held name is never left behind

bool IsDeadReservationText(const QByteArray&, const QDateTime&, const TargetClock&, HeldContent) {
    return false;
}

bool IsLeftoverHead(const QByteArray&, const RunOwner&) {
    return false;
}

bool IsDeadReservation(const QString&, const TargetClock&) {
    return false;
}

bool RemoveDeadReservation(const QString&, const TargetClock&) {
    return false;
}

#endif

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/FileStamp.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace mirelune {
namespace {

constexpr qint64 kFatTimeStepMs = 2000;

// Rounds towards minus infinity, also for times before 1970.
qint64 FloorDiv(qint64 value, qint64 step) {
    return value >= 0 ? value / step : (value - step + 1) / step;
}

qint64 FatStep(qint64 ms) {
    return FloorDiv(ms, kFatTimeStepMs);
}

}  // namespace

std::optional<FileStamp> StampOf(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) {
        return std::nullopt;
    }
    return FileStamp{info.size(), info.lastModified().toMSecsSinceEpoch()};
}

#ifdef Q_OS_UNIX
FileStamp StampOfStatus(const struct stat& status) {
    return {static_cast<qint64>(status.st_size),
            static_cast<qint64>(status.st_mtim.tv_sec) * 1000 + status.st_mtim.tv_nsec / 1000000};
}
#endif

bool SameStamp(const FileStamp& a, const FileStamp& b) {
    return a.size == b.size && FatStep(a.modifiedMs) == FatStep(b.modifiedMs);
}

qint64 StampTimeNow() {
    return FatStep(QDateTime::currentMSecsSinceEpoch()) * kFatTimeStepMs;
}

TimesOf::TimesOf(qint64 modifiedMs) {
    const qint64 seconds = FloorDiv(modifiedMs, 1000);
    const long nanoseconds = static_cast<long>((modifiedMs - seconds * 1000) * 1000000);
    times[0] = {static_cast<time_t>(seconds), nanoseconds};
    times[1] = times[0];
}

bool SetModifiedTime(const QString& path, qint64 modifiedMs) {
#ifdef Q_OS_UNIX
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), TimesOf(modifiedMs).times,
                       0) == 0;
#else
    QFile file(path);
    return file.open(QIODevice::ReadWrite) &&
           file.setFileTime(QDateTime::fromMSecsSinceEpoch(modifiedMs, Qt::UTC),
                            QFileDevice::FileModificationTime);
#endif
}

}  // namespace mirelune

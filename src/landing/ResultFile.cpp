// SPDX-License-Identifier: GPL-3.0-or-later
#include "landing/ResultFile.h"

#include <QFile>
#include <cerrno>

#include "landing/DeadReservation.h"
#include "landing/DeleteFileQuietly.h"
#include "landing/LeftoverSweep.h"
#include "landing/RowReasons.h"
#include "naming/TemporaryResultName.h"
#include "shell/PathHelpers.h"
#include "shell/RandomTag.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mirelune {
namespace {

const QLatin1String kTemporaryPrefix(temporary_result::kPrefix);
const QLatin1String kTemporarySuffix(temporary_result::kSuffix);
constexpr int kTagLength = static_cast<int>(temporary_result::kTagLength);

#ifdef Q_OS_UNIX
// What a failed run leaves at its temporary name: the encoder's file, which
// replaced the one reserve() made. Anything else there was put by someone
// else (a link, another user's file) and stays.
void RemoveIfOurs(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat named {};
    if (::lstat(name.constData(), &named) == 0 && S_ISREG(named.st_mode) &&
        named.st_uid == ::geteuid()) {
        ::unlink(name.constData());
    }
}
#endif

constexpr unsigned kReadWriteBits = 0666;
constexpr unsigned kOwnerReadWrite = 0600;

// Creates path, empty and new, with mode before the umask. Returns 0 or the
// error, and the mode the file really got.
int CreateNew(const QString& path, unsigned mode, unsigned& created) {
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode));
    if (fd < 0) {
        return errno;
    }
    struct stat status {};
    created = ::fstat(fd, &status) == 0 ? (status.st_mode & 07777) : (mode & kOwnerReadWrite);
    ::close(fd);
    return 0;
#else
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        return file.exists() ? EEXIST : EACCES;
    }
    created = mode;
    return 0;
#endif
}

}  // namespace

bool IsTemporaryResultName(const QString& fileName) {
    return temporary_result::IsTemporaryName(fileName.toStdString());
}

ResultFile::Reservation ResultFile::reserve(unsigned sourceMode, Replace replace) {
    refusal_.clear();
    replace_ = replace;
    const QString folder = FolderOf(output_);
    const unsigned wanted = sourceMode & kReadWriteBits;
    // The owner reads and writes the file while the encoder and our analysis
    // work on it; the source's own bits are set just before it is placed.
    int error = 0;
    hold_ = std::make_unique<RunMarkHold>(folder, &SweepResultFolder);
    const QString prefix =
        kTemporaryPrefix + (hold_->marked() ? RunTag() + QLatin1Char('-') : QString());
    // Each name is written in the run's mark before it is made, so that what
    // a kill leaves at it is known for the run's. Where no mark can be
    // written the names go unannounced: such a folder cannot keep the
    // result's record either, and the row fails there.
    const QByteArray outputName = QFile::encodeName(FileNameOf(output_));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate = folder + prefix + RandomTag(kTagLength) + kTemporarySuffix;
        const QByteArray candidateName = QFile::encodeName(FileNameOf(candidate));
        if (hold_->marked() && !hold_->announce({candidateName, outputName})) {
            error = errno;
            break;
        }
        unsigned created = 0;
        error = CreateNew(candidate, wanted | kOwnerReadWrite, created);
        if (error == 0) {
            temporary_ = candidate;
            // What the umask left of the wanted bits.
            resultMode_ = created & wanted;
            break;
        }
        hold_->settle({candidateName, outputName});
        if (error != EEXIST) {
            break;
        }
    }
    if (temporary_.isEmpty()) {
        refusal_ = reason::CannotWriteIn(folder.isEmpty() ? QStringLiteral(".") : folder, error);
        return Reservation::Failed;
    }
    error = name_.reserve(output_);
    if (error == EEXIST && RemoveDeadReservation(output_, hold_->clock())) {
        error = name_.reserve(output_);
    }
    if (!name_.held()) {
        hold_->settle({outputName});  // someone else's file, or none
    }
    if (error == 0 || (error == EEXIST && replace == Replace::Yes)) {
        return Reservation::Ready;
    }
    discard();
    if (error == EEXIST) {
        refusal_ = reason::Exists();
        return Reservation::Exists;
    }
    // A plain name was just made in the same folder, so what the target
    // refuses is this name, unless the medium filled up in between.
    refusal_ =
        reason::IsNoSpace(error) ? reason::NoSpace() : reason::NameRefused(FileNameOf(output_));
    return Reservation::Failed;
}

void ResultFile::discard() noexcept {
    name_.release();
    if (!temporary_.isEmpty()) {
#ifdef Q_OS_UNIX
        RemoveIfOurs(temporary_);
#else
        DeleteFileQuietly(temporary_);
#endif
        temporary_.clear();
    }
    hold_.reset();
}

}  // namespace mirelune

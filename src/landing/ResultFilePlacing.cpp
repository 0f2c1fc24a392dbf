// SPDX-License-Identifier: GPL-3.0-or-later
#include "landing/ResultFile.h"

#include <QFile>
#include <cerrno>

#include "folders/FileDescriptor.h"
#include "folders/FileStamp.h"
#include "folders/RealFolders.h"
#include "landing/RowReasons.h"
#include "mp3/MP3Info.h"
#include "shell/PathHelpers.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mirelune {
namespace {

bool IsValidMp3(const QString& path) {
    try {
        mp3::MP3Info info;
        return info.ReadMP3Info(QFile::encodeName(path).toStdString());
    } catch (const std::exception&) {
        return false;  // the analysis gave up on it: not something we hand out
    }
}

#ifdef Q_OS_UNIX

// Removes path when it still names the file status describes.
void RemoveIfStill(const QString& path, const struct stat& status) {
    const QByteArray name = QFile::encodeName(path);
    struct stat named {};
    if (::lstat(name.constData(), &named) == 0 && SameFile(named, status)) {
        ::unlink(name.constData());
    }
}
#endif

}  // namespace

#ifdef Q_OS_UNIX

ResultFile::Acceptance ResultFile::accept(std::optional<qint64> modifiedMs,
                                          const BeforePlacing& beforePlacing) {
    refusal_.clear();
    placed_.reset();
    const auto refuse = [this](QString why) {
        discard();
        refusal_ = std::move(why);
        return Acceptance::Refused;
    };
    if (temporary_.isEmpty()) {
        return refuse(reason::NotValidMp3());
    }
    // From here on the temporary name is only ever asked whether it still
    // names this file: another writer in the folder may put anything there.
    const FileDescriptor made(
        calls_.open(QFile::encodeName(temporary_), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    // Gone, a link, or not the sole name of a regular file of ours: nothing
    // the encoder left is a result.
    if (!made.isOpen()) {
        return refuse(errno == ENOENT || errno == ELOOP
                          ? reason::NotValidMp3()
                          : reason::CannotWriteResult(output_, errno));
    }
    struct stat status {};
    if (::fstat(made.fd(), &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_uid != ::geteuid() || status.st_nlink != 1) {
        return refuse(reason::NotValidMp3());
    }
    if (!IsValidMp3(QStringLiteral("/proc/self/fd/%1").arg(made.fd()))) {
        return refuse(reason::NotValidMp3());
    }
    // Whatever the encoder did to the file's mode, the result has the
    // source's read and write bits and nothing more (where the target keeps
    // modes: fusefat has no call for them). A time the target does not keep
    // is found when the result is asked again after placing.
    calls_.mode(made.fd(), resultMode_);
    if (modifiedMs) {
        calls_.time(made.fd(), TimesOf(*modifiedMs).times);
    }
    if (calls_.fsync(made.fd()) != 0 || ::fstat(made.fd(), &status) != 0) {
        return refuse(reason::CannotWriteResult(output_, errno));
    }
    const std::optional<QByteArray> hash = ContentHash(made.fd(), status.st_size);
    if (!hash) {
        return refuse(reason::CannotWriteResult(output_, EIO));
    }
    const MadeResult result{StampOfStatus(status), *hash};
    if (beforePlacing) {
        if (QString why = beforePlacing(result); !why.isEmpty()) {
            return refuse(std::move(why));
        }
    }
    bool replacing = !name_.held();
    int error =
        replacing ? replaceWith(made.fd()) : name_.fill(made.fd(), temporary_, resultMode_, calls_);
    if (error == EEXIST && !replacing && replace_ == Replace::Yes) {
        // Another file took the name meanwhile, and the user let results
        // replace files.
        name_.release();
        replacing = true;
        error = replaceWith(made.fd());
    }
    if (error == 0) {
        // The new name is down before anything records it as placed; some
        // drivers have no call for it, and their names are down at once.
        const FileDescriptor folder(
            calls_.open(QFile::encodeName(FolderOf(output_).isEmpty() ? QStringLiteral(".")
                                                                      : FolderOf(output_)),
                        O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folder.isOpen()) {
            calls_.fsync(folder.fd());
        }
        // Where the result was copied, the temporary file is the copy's source.
        RemoveIfStill(temporary_, status);
        temporary_.clear();
        hold_.reset();
        placed_ = result;
        return Acceptance::Placed;
    }
    if (error == EEXIST) {
        discard();
        refusal_ = reason::Exists();
        return Acceptance::Exists;
    }
    return refuse(replacing ? reason::CannotReplace(output_, error)
                            : reason::CannotWriteResult(output_, error));
}

int ResultFile::replaceWith(int made) {
    const QByteArray from = QFile::encodeName(temporary_);
    const QByteArray to = QFile::encodeName(output_);
    struct stat status {};
    struct stat named {};
    if (::fstat(made, &status) != 0 || ::lstat(from.constData(), &named) != 0 ||
        !SameFile(status, named)) {
        return ESTALE;
    }
    if (calls_.rename(from, to) != 0) {
        return errno;
    }
    // Another writer may have put something at the temporary name since it
    // was asked: then the output holds that, and the result is no result.
    return ::lstat(to.constData(), &named) == 0 && SameFile(status, named) ? 0 : ESTALE;
}

#else  // not Unix: by name

ResultFile::Acceptance ResultFile::accept(std::optional<qint64> modifiedMs,
                                          const BeforePlacing& beforePlacing) {
    refusal_.clear();
    placed_.reset();
    const std::optional<FileStamp> stamp = StampOf(temporary_);
    if (temporary_.isEmpty() || !IsValidMp3(temporary_) || !stamp) {
        discard();
        refusal_ = reason::NotValidMp3();
        return Acceptance::Refused;
    }
    Q_UNUSED(modifiedMs);
    const MadeResult result{*stamp, {}};
    if (beforePlacing) {
        if (QString why = beforePlacing(result); !why.isEmpty()) {
            discard();
            refusal_ = std::move(why);
            return Acceptance::Refused;
        }
    }
    QFile::remove(output_);
    if (!QFile::rename(temporary_, output_)) {
        discard();
        refusal_ = reason::CannotWriteResult(output_, EIO);
        return Acceptance::Refused;
    }
    name_.release();
    temporary_.clear();
    hold_.reset();
    placed_ = result;
    return Acceptance::Placed;
}

#endif

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/EncoderCopy.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "landing/DeleteFileQuietly.h"
#include "landing/LeftoverSweep.h"
#include "runs/RunLiveness.h"
#include "shell/Failure.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

extern char** environ;
#endif

namespace mirelune {
namespace {

#ifdef Q_OS_UNIX
// How long the --version run may take before it is stopped; it is only asked
// whether it starts at all.
constexpr auto kProbeTimeout = std::chrono::seconds(10);

// Starts program with --version, its output thrown away, and waits for it.
// Returns 0 when it started, else the error that kept the system from
// starting it. posix_spawn reports a refused exec as its own result, which
// a QProcess does not tell apart.
int StartError(const QString& program) {
    QByteArray path = QFile::encodeName(program);
    QByteArray version("--version");
    char* argv[] = {path.data(), version.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, path.constData(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        return error;
    }
    const auto deadline = std::chrono::steady_clock::now() + kProbeTimeout;
    int status = 0;
    for (;;) {
        const pid_t ended = ::waitpid(pid, &status, WNOHANG);
        if (ended == pid || (ended < 0 && errno != EINTR)) {
            return 0;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(pid, SIGKILL);
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

bool RunningProgramsIsRefused(int error) {
    return error == EACCES || error == EPERM;
}
#endif

}  // namespace

QString EncoderFileName() {
#ifdef Q_OS_WIN
    return QStringLiteral("lame.exe");
#else
    return QStringLiteral("lame");
#endif
}

QString EncoderFolderBase() {
    const QString temp = qEnvironmentVariable("TEMP");
    return temp.isEmpty() ? QDir::tempPath() : temp;
}

QStringList EncoderFolderBases() {
    QStringList bases{EncoderFolderBase()};
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        bases.append(runtime);
    }
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!cache.isEmpty()) {
        bases.append(QDir(cache).filePath(QStringLiteral("mirelune")));
    }
    return bases;
}

EncoderCopy::EncoderCopy(const QByteArray& bytes) {
    const QStringList bases = EncoderFolderBases();
    SweepEncoderFolders(bases, QDateTime::currentDateTime(), EncoderFileName());
    // The temporary folder is the place, and a failure to write there is
    // reported as it is; the others are only for a system that refuses to
    // run programs from it.
    writeInto(bases.front(), bytes);
    if (runsHere()) {
        return;
    }
    QStringList refused{QDir::toNativeSeparators(bases.front())};
    remove();
    for (qsizetype i = 1; i < bases.size(); ++i) {
        try {
            QDir().mkpath(bases[i]);
            writeInto(bases[i], bytes);
        } catch (const Failure&) {
            continue;  // no folder there: the next one may do
        }
        if (runsHere()) {
            return;
        }
        refused.append(QDir::toNativeSeparators(bases[i]));
        remove();
    }
    throw Failure(QCoreApplication::translate(
                      "EncoderCopy",
                      "The encoder cannot run: the system does not allow running programs in %1.")
                      .arg(refused.join(QStringLiteral(", "))));
}

bool EncoderCopy::runsHere() const {
#ifdef Q_OS_UNIX
    return !RunningProgramsIsRefused(StartError(path_));
#else
    return true;
#endif
}

void EncoderCopy::writeInto(const QString& base, const QByteArray& bytes) {
    dir_ = std::make_unique<QTemporaryDir>(QDir(base).filePath(QStringLiteral("mirelune-XXXXXX")));
    if (!dir_->isValid()) {
        const QString reason = dir_->errorString();
        dir_.reset();
        throw Failure(QCoreApplication::translate(
                          "EncoderCopy", "No private folder for the encoder can be made in %1: %2")
                          .arg(QDir::toNativeSeparators(base), reason));
    }
    // Absolute, so the program is found whatever the working folder becomes.
    folder_ = QDir::toNativeSeparators(QFileInfo(dir_->path()).absoluteFilePath());
    // mkdtemp already makes the folder owner-only; saying so again costs
    // nothing and does not depend on how the folder was made.
    QFile::setPermissions(dir_->path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // Says whose the folder is, so a later run can tell one left by a run that
    // was killed outright from one still in use. Without it the folder is
    // only taken for left over after a day.
    WriteRunMark(dir_->filePath(QLatin1String(kEncoderFolderMark)));

    const QString program = dir_->filePath(EncoderFileName());
    QFile file(program);
    // NewOnly: the name must not exist yet, so nothing that appeared in the
    // folder is ever followed or reused.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.close();
        remove();
        throw Failure(
            QCoreApplication::translate("EncoderCopy", "The encoder cannot be written to %1: %2")
                .arg(QDir::toNativeSeparators(program), reason));
    }
    file.close();
    if (!QFile::setPermissions(
            program, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner)) {
        remove();
        throw Failure(
            QCoreApplication::translate("EncoderCopy", "The encoder at %1 cannot be made runnable.")
                .arg(QDir::toNativeSeparators(program)));
    }
    path_ = QDir::toNativeSeparators(QFileInfo(program).absoluteFilePath());
}

EncoderCopy::~EncoderCopy() {
    remove();
}

void EncoderCopy::remove() noexcept {
    if (!dir_) {
        return;
    }
    DeleteFileQuietly(dir_->filePath(EncoderFileName()));
    dir_->remove();
    dir_.reset();
    path_.clear();
    folder_.clear();
}

}  // namespace mirelune

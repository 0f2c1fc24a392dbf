// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/FileReduction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>
#include <cerrno>

#include "runs/MadeResult.h"
#include "landing/OutputNaming.h"
#include "folders/RealFolders.h"
#include "reduce/RunProgress.h"
#include "shell/PathHelpers.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

namespace mirelune {
namespace {

// The longest encoder line kept; a program that never ends its line cannot
// make us hold more than this.
constexpr int kMaxLineBytes = 4096;

// Terminal colour and cursor codes, and other control characters, are not
// part of what the encoder meant to say.
QString Readable(const QByteArray& line) {
    QString text = QString::fromLocal8Bit(line);
    QString clean;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\x1b') {
            // ESC [ ... final letter
            ++i;
            if (i < text.size() && text[i] == u'[') {
                while (i + 1 < text.size() && !text[i + 1].isLetter()) {
                    ++i;
                }
                ++i;
            }
            continue;
        }
        if (c.unicode() >= 32 && c.unicode() != 127) {
            clean += c;
        }
    }
    return clean.trimmed();
}

// LAME's progress display: the frame counter ("  120/383 (31%)|  0:01/..."),
// its table header and rules, and the statistics after it. None of it says
// why an encode failed.
bool IsProgressText(const QString& line) {
    static const QRegularExpression kCounter(QStringLiteral(R"(^\d+/\d+\s*\()"));
    static const QRegularExpression kRule(QStringLiteral(R"(^[-=+| ]+$)"));
    return line.contains(QLatin1Char('|')) || kCounter.match(line).hasMatch() ||
           kRule.match(line).hasMatch();
}

// The read and write bits of the source's mode; 0666 (before the umask)
// when the source cannot be asked.
unsigned SourceMode(const QString& source) {
#ifdef Q_OS_WIN
    Q_UNUSED(source);
    return 0666;
#else
    struct stat status {};
    if (::stat(QFile::encodeName(source).constData(), &status) != 0) {
        return 0666;
    }
    return status.st_mode & 07777;
#endif
}

bool SourceIsGone(const QString& source) {
    return !QFileInfo::exists(source);
}

bool NoSpaceIn(const QString& folder, const QString& encoderMessage) {
    if (encoderMessage.contains(QStringLiteral("No space left on device"), Qt::CaseInsensitive)) {
        return true;
    }
    const QStorageInfo storage(folder.isEmpty() ? QStringLiteral(".") : folder);
    return storage.isValid() && StorageIsFull(storage.bytesTotal(), storage.bytesAvailable());
}

// SIGTERM first: the encoder then removes the temporary file it writes
// beside the result. SIGKILL only for one that does not end.
void StopEncoder(QProcess& process) {
    process.terminate();
    if (!process.waitForFinished(2000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

// Below the folder the job was given, results go only into real folders:
// nobody sharing the folder can send them elsewhere with a link.
QString FolderRefusal(const QString& root, const QString& folder) {
    if (root.isEmpty()) {
        return {};
    }
    const QString relative = QDir(root).relativeFilePath(folder);
    if (relative == QStringLiteral(".") || !StaysBelow(relative)) {
        return {};
    }
    const FolderHandle opened = OpenFolderBelow(root, relative, false);
    if (opened.isOpen() || (opened.error() != ELOOP && opened.error() != ENOTDIR)) {
        return {};  // a folder that is missing is the reservation's to report
    }
    return reason::FolderIsNoRealFolder(QDir::cleanPath(folder));
}

}  // namespace

bool StorageIsFull(qint64 bytesTotal, qint64 bytesAvailable) {
    // Some drivers (fusefat, some versions) report no size at all: that is
    // no full medium.
    return bytesTotal > 0 && bytesAvailable == 0;
}

FileReduction::FileReduction(ReductionRequest request, QObject* parent)
    : QObject(parent),
      request_(std::move(request)),
      result_(request_.output, request_.placement ? *request_.placement : SystemPlacementCalls()) {
    // Only what the encoder says on its error output can explain a failure;
    // its standard output is nobody's business.
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.setInputChannelMode(QProcess::ManagedInputChannel);
#ifdef Q_OS_WIN
    // The encoder is a console program; its output is captured, so no
    // console window may open for it.
    process_.setCreateProcessArgumentsModifier(
        [](QProcess::CreateProcessArguments* args) { args->flags |= CREATE_NO_WINDOW; });
#endif
#ifdef Q_OS_LINUX
    // The encoder gets SIGTERM when its parent dies, killed outright or not,
    // and removes its temporary file as for any SIGTERM. The system sends it
    // when the thread that started the encoder ends: that is the thread of
    // the event loop all reductions run on, which ends with the program. A
    // parent that died before the request took effect is seen by the child
    // as a changed parent id; that child never becomes the encoder.
    const pid_t starter = ::getpid();
    process_.setChildProcessModifier([starter] {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != starter) {
            ::_exit(kStartFailureCode);
        }
    });
#endif
    connect(&process_, &QProcess::started, this, [this] { encoderStarted_ = true; });
    connect(&process_, &QProcess::readyReadStandardError, this, &FileReduction::readErrorOutput);
    connect(&process_, &QProcess::finished, this, &FileReduction::onProcessFinished);
    connect(&process_, &QProcess::errorOccurred, this, &FileReduction::onProcessError);
}

FileReduction::~FileReduction() {
    // Nobody is listening any more: the process only has to go.
    process_.disconnect(this);
    if (process_.state() != QProcess::NotRunning) {
        StopEncoder(process_);
    }
    result_.discard();
}

bool FileReduction::start() {
    if (isDone() || process_.state() != QProcess::NotRunning) {
        return false;
    }
    // Refused before anything is made: a result never takes its own
    // source's place, whatever the plan said and whatever leave to replace
    // was given, and below the folder the job was given it goes only into
    // real folders.
    QString refusal;
    if (SourceIsGone(request_.source)) {
        refusal = reason::SourceGone();
    } else if (MayBeSource(request_.output, request_.source)) {
        refusal = reason::WouldOverwriteSource();
    } else {
        refusal = FolderRefusal(request_.recordRoot, FolderOf(request_.output));
    }
    if (!refusal.isEmpty()) {
        command_ = MakeEncoderCommand(request_.encoderPath, request_.kbps, request_.source,
                                      request_.output);
        fail(refusal, kStartFailureCode);
        return false;
    }
    sourceStamp_ = StampOf(request_.source);
    const ResultFile::Reservation reservation =
        result_.reserve(SourceMode(request_.source), request_.replace);
    command_ = MakeEncoderCommand(
        request_.encoderPath, request_.kbps, request_.source,
        result_.temporaryPath().isEmpty() ? request_.output : result_.temporaryPath());
    if (reservation == ResultFile::Reservation::Exists) {
        // Taken before any work was spent on it: skipped, as a plan that
        // found the file there would have.
        outcome_.status = ReductionOutcome::Status::Skipped;
        outcome_.reason = result_.refusal();
        outcome_.exitCode = kStartFailureCode;
        return false;
    }
    if (reservation == ResultFile::Reservation::Failed) {
        fail(result_.refusal(), kStartFailureCode);
        return false;
    }
    starting_ = true;
    process_.start(command_.program, command_.arguments, QIODevice::ReadOnly);
    starting_ = false;
    if (isDone()) {
        return false;  // refused on the spot: no such program
    }
    return true;
}

void FileReduction::abort() {
    if (isDone()) {
        return;
    }
    aborting_ = true;
    if (process_.state() != QProcess::NotRunning) {
        StopEncoder(process_);
    }
    result_.discard();
    if (!isDone()) {
        outcome_.status = ReductionOutcome::Status::Interrupted;
        outcome_.exitCode = -1;
        end();
    }
}

void FileReduction::readErrorOutput() {
    const QByteArray bytes = process_.readAllStandardError();
    for (const char byte : bytes) {
        if (byte == '\n' || byte == '\r') {
            const QString line = Readable(partialLine_);
            if (!line.isEmpty() && !IsProgressText(line)) {
                outcome_.lastLine = line;
            }
            partialLine_.clear();
        } else if (partialLine_.size() < kMaxLineBytes) {
            partialLine_.append(byte);
        }
    }
}

void FileReduction::onProcessFinished(int exitCode, QProcess::ExitStatus status) {
    if (isDone()) {
        return;
    }
    readErrorOutput();
    if (const QString tail = Readable(partialLine_); !tail.isEmpty() && !IsProgressText(tail)) {
        outcome_.lastLine = tail;
    }
    partialLine_.clear();
    if (aborting_ || stoppedWithJob(exitCode, status)) {
        result_.discard();
        outcome_.status = ReductionOutcome::Status::Interrupted;
        outcome_.exitCode = -1;
        end();
        return;
    }
    if (status != QProcess::NormalExit) {
        fail(failureReason(reason::EncoderStopped(outcome_.lastLine)), -1);
        end();
        return;
    }
    outcome_.exitCode = exitCode;
    if (exitCode != 0) {
        fail(failureReason(reason::EncoderFailed(exitCode, outcome_.lastLine)), exitCode);
        end();
        return;
    }
    place();
    end();
}

QString FileReduction::record(const FileStamp& result, const QByteArray& sha256) {
    if (!request_.journals || !sourceStamp_) {
        return {};
    }
    const QString name = QDir(request_.recordRoot).relativeFilePath(request_.output);
    return request_.journals->journalFor(request_.recordRoot)
        .append({name, result, request_.source, *sourceStamp_, sha256});
}

void FileReduction::recordPlaced(const MadeResult& made, qint64 time) {
    // Some drivers (fusefat) give a file copied into a held name another
    // time when it is closed: it is set again, on the file the run made and
    // nothing that took its name since, and the record holds the time the
    // result really has once closed. Where the result is no longer there,
    // its first record speaks only for a file with its content.
    const FileStamp wanted{made.stamp.size, time};
    std::optional<FileStamp> placed = StampIfMade(request_.output, made);
    if (placed && !SameStamp(*placed, wanted)) {
        placed = SetTimesIfMade(request_.output, made, time);
    }
    if (!placed) {
        return;
    }
    record(*placed);
    outcome_.timeNotKept = request_.keepTime && !SameStamp(*placed, wanted);
}

void FileReduction::place() {
    if (request_.replacing) {
        const std::optional<FileStamp> there = StampOf(request_.output);
        if (!there || !SameStamp(*there, *request_.replacing)) {
            // Not the result we made any more: whoever put it there keeps it.
            result_.discard();
            outcome_.status = ReductionOutcome::Status::Skipped;
            outcome_.reason = reason::Exists();
            return;
        }
    }
    const qint64 time =
        request_.keepTime && sourceStamp_ ? sourceStamp_->modifiedMs : StampTimeNow();
    const auto recordFirst = [this](const MadeResult& result) {
        return record(result.stamp, result.sha256);
    };
    switch (result_.accept(time, recordFirst)) {
        case ResultFile::Acceptance::Placed:
            outcome_.status = ReductionOutcome::Status::Reduced;
            outcome_.note = EncoderNote(outcome_.lastLine, request_.source);
            recordPlaced(*result_.placed(), time);
            break;
        case ResultFile::Acceptance::Exists:
            outcome_.status = ReductionOutcome::Status::Skipped;
            outcome_.reason = result_.refusal();
            break;
        case ResultFile::Acceptance::Refused:
            fail(failureReason(result_.refusal()), outcome_.exitCode);
            break;
    }
}

void FileReduction::onProcessError(QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart || isDone()) {
        return;  // a crash or a read problem still ends in finished()
    }
    fail(reason::CannotStartEncoder(), kStartFailureCode);
    if (!starting_) {
        end();
    }
}

QString FileReduction::failureReason(QString encoderReason) const {
    // The plain causes first: what the encoder says about them is less clear.
    if (SourceIsGone(request_.source)) {
        return reason::SourceGone();
    }
    if (NoSpaceIn(FolderOf(request_.output), outcome_.lastLine)) {
        return reason::NoSpace();
    }
    return encoderReason;
}

bool FileReduction::stoppedWithJob(int exitCode, QProcess::ExitStatus status) const {
    if (status != QProcess::CrashExit || !request_.stopRequested || !request_.stopRequested()) {
        return false;
    }
#ifdef Q_OS_UNIX
    // After a crash exit QProcess gives the signal's number as the code.
    return exitCode == SIGINT || exitCode == SIGTERM || exitCode == SIGHUP;
#else
    Q_UNUSED(exitCode);
    return true;
#endif
}

void FileReduction::fail(QString why, qint32 exitCode) {
    result_.discard();
    outcome_.status = ReductionOutcome::Status::Failed;
    outcome_.reason = std::move(why);
    outcome_.exitCode = exitCode;
}

void FileReduction::end() {
    emit finished();
}

}  // namespace mirelune

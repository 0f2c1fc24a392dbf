// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/FileReduction.h"

#include <QDir>

#include "landing/OutputNaming.h"
#include "landing/RowReasons.h"
#include "reduce/EncoderProcess.h"
#include "reduce/ReductionChecks.h"
#include "reduce/RunProgress.h"
#include "runs/MadeResult.h"
#include "shell/PathHelpers.h"

#ifndef Q_OS_WIN
#include <signal.h>
#endif

namespace mirelune {

FileReduction::FileReduction(ReductionRequest request, QObject* parent)
    : QObject(parent),
      request_(std::move(request)),
      result_(request_.output, request_.placement ? *request_.placement : SystemPlacementCalls()) {
    PrepareEncoderProcess(process_);
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
        command_ = MakeEncoderCommand(encoderTask(request_.output));
        fail(refusal, kStartFailureCode);
        return false;
    }
    sourceStamp_ = StampOf(request_.source);
    const ResultFile::Reservation reservation =
        result_.reserve(SourceMode(request_.source), request_.replace);
    command_ = MakeEncoderCommand(
        encoderTask(result_.temporaryPath().isEmpty() ? request_.output : result_.temporaryPath()));
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
    errorLines_.append(process_.readAllStandardError());
    outcome_.lastLine = errorLines_.lastLine();
}

void FileReduction::onProcessFinished(int exitCode, QProcess::ExitStatus status) {
    if (isDone()) {
        return;
    }
    readErrorOutput();
    errorLines_.endOfOutput();
    outcome_.lastLine = errorLines_.lastLine();
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
    if (request_.expectedThere) {
        const std::optional<FileStamp> there = StampOf(request_.output);
        if (!there || !SameStamp(*there, *request_.expectedThere)) {
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

EncoderTask FileReduction::encoderTask(const QString& output) const {
    return {.encoderPath = request_.encoderPath,
            .kbps = request_.kbps,
            .source = request_.source,
            .output = output};
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

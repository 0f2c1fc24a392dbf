#include "reduce/FileReduction.h"

#include "reduce/RunProgress.h"

#ifdef Q_OS_WIN
#include <windows.h>
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

}  // namespace

FileReduction::FileReduction(ReductionRequest request, QObject* parent)
    : QObject(parent), request_(std::move(request)), result_(request_.output) {
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.setInputChannelMode(QProcess::ManagedInputChannel);
#ifdef Q_OS_WIN
    // The encoder is a console program; its output is captured, so no
    // console window may open for it.
    process_.setCreateProcessArgumentsModifier(
        [](QProcess::CreateProcessArguments* args) { args->flags |= CREATE_NO_WINDOW; });
#endif
    connect(&process_, &QProcess::started, this, [this] { encoderStarted_ = true; });
    connect(&process_, &QProcess::readyRead, this, &FileReduction::readOutput);
    connect(&process_, &QProcess::finished, this, &FileReduction::onProcessFinished);
    connect(&process_, &QProcess::errorOccurred, this, &FileReduction::onProcessError);
}

FileReduction::~FileReduction() {
    // Nobody is listening any more: the process only has to go.
    process_.disconnect(this);
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
    result_.discard();
}

bool FileReduction::start() {
    if (isDone() || process_.state() != QProcess::NotRunning) {
        return false;
    }
    const QString failure = result_.reserve();
    command_ = MakeEncoderCommand(
        request_.encoderPath, request_.kbps, request_.source,
        result_.temporaryPath().isEmpty() ? request_.output : result_.temporaryPath());
    if (!failure.isEmpty()) {
        fail(failure, kStartFailureCode);
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
        process_.kill();
        process_.waitForFinished(5000);
    }
    result_.discard();
    if (!isDone()) {
        outcome_.status = ReductionOutcome::Status::Aborted;
        end();
    }
}

void FileReduction::readOutput() {
    const QByteArray bytes = process_.readAll();
    for (const char byte : bytes) {
        if (byte == '\n' || byte == '\r') {
            const QString line = Readable(partialLine_);
            if (!line.isEmpty()) {
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
    readOutput();
    if (const QString tail = Readable(partialLine_); !tail.isEmpty()) {
        outcome_.lastLine = tail;
    }
    partialLine_.clear();
    if (aborting_) {
        result_.discard();
        outcome_.status = ReductionOutcome::Status::Aborted;
        end();
        return;
    }
    if (status != QProcess::NormalExit) {
        fail(reason::EncoderStopped(outcome_.lastLine), -1);
        end();
        return;
    }
    outcome_.exitCode = exitCode;
    if (exitCode != 0) {
        fail(reason::EncoderExitCode(exitCode, outcome_.lastLine), exitCode);
        end();
        return;
    }
    if (const QString refused = result_.accept(); !refused.isEmpty()) {
        fail(refused, exitCode);
    } else {
        outcome_.status = ReductionOutcome::Status::Reduced;
    }
    end();
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

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QProcess>
#include <QString>
#include <functional>
#include <optional>

#include "folders/FileStamp.h"
#include "landing/ResultFile.h"
#include "reduce/EncoderCommand.h"
#include "reduce/EncoderErrorLines.h"
#include "reduce/ReductionOutcome.h"
#include "runs/ResultJournal.h"

namespace mirelune {

// What to reduce: one source into one output path, decided beforehand.
struct ReductionRequest {
    QString encoderPath{};
    int kbps = 128;
    QString source{};
    QString output{};
    // Whether the result may replace a file at the output path. Without it a
    // file found there when its turn comes, or when the result is ready,
    // stays, and the row is skipped.
    Replace replace = Replace::No;
    // Where the record of the result is kept (none without journals), and
    // the folder the recorded name is relative to.
    ResultJournals* journals = nullptr;
    QString recordRoot{};
    // The result gets its source's modification time rather than now.
    bool keepTime = false;
    // A result made again for a changed source: it replaces the file at the
    // output only while that file still has this stamp (its record's).
    std::optional<FileStamp> expectedThere{};
    // Whether the user asked the job to stop. An encoder ended by SIGINT,
    // SIGTERM or SIGHUP once this holds was stopped with the job (Ctrl+C in
    // a terminal reaches every process of the group), and its row is
    // Interrupted, not Failed. Unset: no stop request is ever seen.
    std::function<bool()> stopRequested = {};
    // The calls that place the result; unset: the system's.
    const PlacementCalls* placement = nullptr;
};

// One source reduced into its output: the encoder writes a temporary file
// beside the output, and only an encoder that ends with 0 and a result our
// own analysis accepts take the output path. Driven by the event loop, so
// any number can run side by side; the window's job waits for one at a time.
// The same code serves the window and the command line. On Linux the
// encoder dies with the program that started it, killed outright or not, so
// none runs on with nobody to take its result.
class FileReduction : public QObject {
    Q_OBJECT

  public:
    explicit FileReduction(ReductionRequest request, QObject* parent = nullptr);
    ~FileReduction() override;

    // Reserves the temporary result and starts the encoder. False when it
    // could not begin: outcome() then says why, and finished() is not
    // emitted.
    bool start();

    // Stops a running encoder and removes the temporary result; the outcome
    // becomes Interrupted. Harmless when already done.
    void abort();

    // Whether the encoder process ever ran; false when it could not start.
    bool encoderStarted() const { return encoderStarted_; }

    bool isDone() const { return outcome_.status != ReductionOutcome::Status::Pending; }
    const ReductionOutcome& outcome() const { return outcome_; }
    const ReductionRequest& request() const { return request_; }

    // What the encoder is handed: the last argument is the temporary path.
    const EncoderCommand& command() const { return command_; }

  signals:
    // Emitted once, after the result has been accepted or refused.
    void finished();

  private:
    // The request's encoder run, writing into output.
    EncoderTask encoderTask(const QString& output) const;
    void readErrorOutput();
    void onProcessFinished(int exitCode, QProcess::ExitStatus status);
    void onProcessError(QProcess::ProcessError error);
    // Why a run that did not give a result failed, in the user's words.
    QString failureReason(QString encoderReason) const;
    void fail(QString why, qint32 exitCode);
    // Whether an encoder that ended this way was stopped with the job.
    bool stoppedWithJob(int exitCode, QProcess::ExitStatus status) const;
    void end();
    // Takes the result's name, with its record written first.
    void place();
    // Writes the record of the result with that stamp, and with its content
    // hash before it is placed; why not, or empty.
    QString record(const FileStamp& result, const QByteArray& sha256 = {});
    // Once the result is at its name: makes sure it has the time it was
    // given, and records it as placed with the stamp it has.
    void recordPlaced(const MadeResult& made, qint64 time);

    ReductionRequest request_;
    std::optional<FileStamp> sourceStamp_;  // as the encoder began to read it
    EncoderCommand command_;
    ResultFile result_;
    QProcess process_;
    ReductionOutcome outcome_;
    EncoderErrorLines errorLines_;
    bool starting_ = false;
    bool encoderStarted_ = false;
    bool aborting_ = false;
};

}  // namespace mirelune

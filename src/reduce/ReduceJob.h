// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <memory>

#include "reduce/RunProgress.h"

namespace mirelune {

class EncoderCopy;
class ErrorGuard;
class FileReduction;
class ReduceJobView;
struct ReportRow;
struct RowWork;

// "Start Reducing": every row of the list re-encoded at the chosen bitrate
// into its output file, one encoder at a time, on the UI thread. The window
// stays usable while the job waits, so a second start returns at once, and
// closing the window calls abort(). A file that was at an output path before
// the job is replaced only when the user says so, asked once before anything
// is written; a listed file that is another listed source's output is that
// source's earlier result and is not reduced itself.
class ReduceJob {
  public:
    ReduceJob();
    ~ReduceJob();

    ReduceJob(const ReduceJob&) = delete;
    ReduceJob& operator=(const ReduceJob&) = delete;

    // PushButton2_Click. Returns when the job has ended (or at once when one
    // is already running).
    void run(ReduceJobView& view);

    // ReduceBusy: a job is running.
    bool isBusy() const { return busy_; }

    // For a window that is closing during a job: stops the running encoder,
    // removes its unfinished output and the encoder copy, and makes run()
    // return without another message. Does nothing when no job runs.
    void abort();

    // The encoder command of each row run by the last job, as text; for
    // display and tests.
    const QStringList& commandLines() const { return commandLines_; }

    // Tests make the runner's clock faster; the caption and the bar count
    // polls, not seconds, so nothing else changes.
    void setPollInterval(int milliseconds) { pollIntervalMs_ = milliseconds; }

  private:
    // One run's state from its options to its report.
    struct Run;

    // The checks before anything is done; false when the job ends there.
    bool mayStart(ErrorGuard& g, ReduceJobView& view);
    // The options taken, the one question asked, the encoder written; false
    // when the job ends there.
    bool prepare(ErrorGuard& g, ReduceJobView& view, Run& run);
    // Row i read and shown; false when the job was aborted meanwhile.
    bool beginRow(ErrorGuard& g, ReduceJobView& view, const Run& run, qint32 i, RowWork& row);
    // Where row i's result goes, whether it runs, and at what bitrate.
    void planRow(ErrorGuard& g, const Run& run, qint32 i, RowWork& row);
    // The row's report: refused, skipped, or as its encoder ended.
    ReportRow endRow(ErrorGuard& g, ReduceJobView& view, Run& run, qint32 i, const RowWork& row);
    // The encoder copy removed, the window's idle look back, and the message.
    void finish(ErrorGuard& g, ReduceJobView& view, Run& run);

    bool busy_ = false;
    bool aborted_ = false;
    std::unique_ptr<EncoderCopy> encoder_;
    FileReduction* current_ = nullptr;
    QStringList commandLines_;
    int pollIntervalMs_ = kPollIntervalMs;
};

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/ReduceJob.h"

#include <QCoreApplication>
#include <optional>
#include <utility>
#include <vector>

#include "landing/DeleteFileQuietly.h"
#include "landing/OutputNaming.h"
#include "landing/RowReasons.h"
#include "reduce/BusyFlag.h"
#include "reduce/DoneMessage.h"
#include "reduce/DoneReport.h"
#include "reduce/EncoderCommand.h"
#include "reduce/EncoderCopy.h"
#include "reduce/EncoderResource.h"
#include "reduce/FileReduction.h"
#include "reduce/JobPlan.h"
#include "reduce/LargerResults.h"
#include "reduce/OptionsLock.h"
#include "reduce/ReduceJobView.h"
#include "reduce/ReduceOptions.h"
#include "reduce/ReportRow.h"
#include "reduce/RowWork.h"
#include "reduce/RunAndWait.h"
#include "runs/ResultJournal.h"
#include "shell/ErrorGuard.h"
#include "shell/ErrorLocations.h"
#include "shell/PathHelpers.h"
#include "shell/WindowLayer.h"

namespace mirelune {

struct ReduceJob::Run {
    // Every row goes where the options said when the job began: a folder
    // typed or a bitrate picked meanwhile would split one job over two
    // places, and the one question would not have been asked for the second.
    ReduceOptions options;
    std::optional<OptionsLock> lock;
    JobPlan plan;
    ResultJournals journals;
    ReplaceAnswer answer = ReplaceAnswer::NotAsked;
    qint32 rowCount = 0;
    std::vector<ReportRow> report;
};

ReduceJob::ReduceJob() = default;
ReduceJob::~ReduceJob() = default;

void ReduceJob::abort() {
    if (!busy_) {
        return;
    }
    aborted_ = true;
    if (current_ != nullptr) {
        current_->abort();
    }
    if (encoder_) {
        encoder_->remove();
        encoder_.reset();
    }
}

void ReduceJob::run(ReduceJobView& view) {
    ErrorGuard g(view.window(), location::kPushButton2Click);
    if (g.test(100, [&] { return busy_; })) {
        return;
    }
    g.step(102, [&] {
        busy_ = true;
        aborted_ = false;
        commandLines_.clear();
    });
    BusyFlag clearBusy(busy_);
    if (!mayStart(g, view)) {
        return;
    }
    Run state;
    if (!prepare(g, view, state)) {
        return;
    }
    for (qint32 i = 1; i <= state.rowCount && !aborted_; ++i) {
        RowWork row;
        if (!beginRow(g, view, state, i, row)) {
            break;
        }
        planRow(g, state, i, row);
        state.report.push_back(endRow(g, view, state, i, row));
    }
    finish(g, view, state);
}

bool ReduceJob::mayStart(ErrorGuard& g, ReduceJobView& view) {
    WindowLayer& window = view.window();
    if (g.test(104, [&] { return view.rowCount() == 0; })) {
        g.step(168, [&] {
            window.showMessage(QCoreApplication::translate("ReduceJob", "No files added."));
        });
        g.step(170, [&] { busy_ = false; });
        return false;
    }
    if (g.test(106, [&] { return !IsFolder(view.options().outputFolder); })) {
        g.step(166, [&] {
            window.showMessage(QCoreApplication::translate(
                "ReduceJob", "Folder does not exist. Please select another folder."));
        });
        g.step(170, [&] { busy_ = false; });
        return false;
    }
    // Without a choice there is no output path at all; ask rather than guess.
    if (g.test(107, [&] {
            const ReduceOptions options = view.options();
            return !options.option1 && !options.option2;
        })) {
        g.step(107, [&] { window.showMessage(ChooseOutputMessage()); });
        g.step(170, [&] { busy_ = false; });
        return false;
    }
    return true;
}

bool ReduceJob::prepare(ErrorGuard& g, ReduceJobView& view, Run& run) {
    g.step(108, [&] { view.setBusyPointer(true); });
    g.step(108, [&] {
        run.options = view.options();
        run.lock.emplace(view);
    });
    // Whether results may replace files that are already there is asked
    // once, before the encoder is even written, so Cancel leaves no trace.
    g.step(109, [&] {
        // Names judged without trying them: before the answer nothing on any
        // target changes, not even a folder's time.
        run.plan = PlanJob(view, run.options, false);
        const int wouldReplace = ResultsThatWouldReplace(run.plan.plans);
        if (wouldReplace != 0) {
            run.answer = AskToReplace(view.window(), wouldReplace, !run.options.option1);
        }
    });
    if (run.answer == ReplaceAnswer::Cancel || aborted_) {
        g.step(158, [&] { view.setBusyPointer(false); });
        g.step(170, [&] { busy_ = false; });
        return false;
    }
    // Where the guess was wrong (a stick or share that breaks the rules
    // guessed) this plan may differ from the one the question counted; the
    // answer then still goes by kind: with Yes every row that would replace
    // replaces, otherwise (No, or no question) every one is skipped.
    g.step(109, [&] { run.plan = PlanJob(view, run.options, true); });
    QByteArray encoderBytes;
    g.step(110, [&] { encoderBytes = LoadEncoderBytes(); });
    g.step(112, [&] { encoder_ = std::make_unique<EncoderCopy>(encoderBytes); });
    g.step(114, [&] {
        run.rowCount = view.rowCount();
        // Results that moved with their sources, recorded for the new paths
        // only now that the user answered. Unwritten, the next run finds
        // them by their sources' names and stamps again.
        for (const TakeOver& t : run.plan.plans.takeOvers) {
            run.journals.journalFor(t.recordRoot).append(t.record);
        }
    });
    return true;
}

bool ReduceJob::beginRow(ErrorGuard& g, ReduceJobView& view, const Run& run, qint32 i,
                         RowWork& row) {
    g.step(116, [&] { view.setBusyPointer(true); });
    g.step(118, [&] {
        row.source = view.rowText(i);
        row.sourceRead = true;
    });
    g.step(120, [&] { view.setProgressValue(RowBarValue(i, run.rowCount)); });
    g.step(122, [&] {
        view.setProgressText(
            QCoreApplication::translate("ReduceJob", "Processing: %1").arg(FileNameOf(row.source)));
    });
    g.step(124, [&] { view.window().yieldToEvents(); });
    return !aborted_;
}

void ReduceJob::planRow(ErrorGuard& g, const Run& run, qint32 i, RowWork& row) {
    g.step(126, [&] { row.options = run.options; });
    if (g.test(128, [&] { return row.options.option1; })) {
        g.step(130, [&] {
            row.folder = row.options.outputFolder;
            row.output = PlainOutputPath(*row.folder, row.source);
        });
    } else if (g.test(132, [&] { return row.options.option2; })) {
        g.step(134, [&] {
            row.folder = FolderOf(row.source);
            row.output = PlainOutputPath(*row.folder, row.source);
        });
    }
    g.step(136, [&] {
        if (!row.sourceRead) {
            row.refusal = reason::RowUnreadable();
        } else if (!row.folder) {
            row.refusal = reason::NoOutputChoice();
        }
    });
    if (row.refusal.isEmpty() && g.test(138, [&] { return MayBeSource(row.output, row.source); })) {
        g.step(140, [&] { row.output = ReducedOutputPath(*row.folder, row.source); });
        g.step(142, [&] {
            if (MayBeSource(row.output, row.source)) {
                row.refusal = reason::WouldOverwriteSource();
            }
        });
    }
    g.step(143, [&] { FollowPlan(run.plan, i, run.answer, row); });
    g.step(144, [&] { row.encoderPath = encoder_ ? encoder_->path() : QString(); });
    g.step(146, [&] { row.kbps = TargetKbps(row.options.entryText); });
    g.step(148, [&] {
        if (row.refusal.isEmpty() && !row.kbps) {
            row.refusal = reason::NoTargetBitrate();
        }
        if (row.refusal.isEmpty() && row.skip.isEmpty()) {
            commandLines_.append(EncoderCommandText({.encoderPath = row.encoderPath,
                                                     .kbps = *row.kbps,
                                                     .source = row.source,
                                                     .output = row.output}));
        }
    });
}

ReportRow ReduceJob::endRow(ErrorGuard& g, ReduceJobView& view, Run& run, qint32 i,
                            const RowWork& row) {
    if (std::optional<ReportRow> leftOut = ReportWithoutRun(row, i)) {
        return std::move(*leftOut);
    }
    FileReduction reduction({.encoderPath = row.encoderPath,
                             .kbps = *row.kbps,
                             .source = row.source,
                             .output = row.output,
                             .replace = row.replace,
                             .journals = &run.journals,
                             .recordRoot = row.recordRoot,
                             .stopRequested = [this] { return aborted_; }});
    current_ = &reduction;
    g.step(152, [&] {
        RunAndWait(reduction,
                   {.bar = &view,
                    .baseText = view.progressText(),
                    .startValue = view.progressValue(),
                    .fileCount = run.rowCount},
                   view.window(), pollIntervalMs_);
    });
    current_ = nullptr;
    ReportRow ended = EndedRow({.source = row.source,
                                .output = row.output,
                                .status = ReportRow::Status::WouldReduce,
                                .renamed = row.renamed},
                               reduction.outcome());
    if (ended.status == ReportRow::Status::Reduced) {
        ended.bytesBefore = FileBytes(row.source);
        ended.bytesAfter = FileBytes(row.output);
    }
    return ended;
}

void ReduceJob::finish(ErrorGuard& g, ReduceJobView& view, Run& run) {
    WindowLayer& window = view.window();
    // After abort() the encoder copy is already gone, and the window is
    // closing: it gets its idle look back but no message.
    if (!aborted_) {
        g.step(156, [&] {
            window.yieldToEvents();
            if (encoder_) {
                DeleteFileQuietly(encoder_->path());
                encoder_.reset();
            }
        });
    }
    g.step(158, [&] {
        view.setBusyPointer(false);
        run.lock.reset();
    });
    g.step(160, [&] { view.setProgressValue(0); });
    g.step(162, [&] {
        view.setProgressText(QCoreApplication::translate("RunProgress", "Progress Bar"));
    });
    if (!aborted_) {
        g.step(164, [&] {
            QString text = DoneReport(DoneRowsOf(run.report, window.locale()), window.locale());
            for (const QString& warning : run.plan.plans.warnings) {
                text += QStringLiteral("\n\n") + warning;
            }
            window.showMessage(text);
        });
    }
    g.step(170, [&] { busy_ = false; });
}

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/ReduceJob.h"

#include <QCoreApplication>
#include <QDir>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "landing/DeleteFileQuietly.h"
#include "landing/OutputNaming.h"
#include "reduce/DoneMessage.h"
#include "reduce/DoneReport.h"
#include "reduce/EncoderCommand.h"
#include "reduce/EncoderCopy.h"
#include "reduce/EncoderResource.h"
#include "reduce/FileReduction.h"
#include "reduce/LargerResults.h"
#include "reduce/ReduceJobView.h"
#include "reduce/ReduceOptions.h"
#include "reduce/ReportRow.h"
#include "reduce/RowPlanner.h"
#include "reduce/RunAndWait.h"
#include "shell/ErrorGuard.h"
#include "shell/ErrorLocations.h"
#include "shell/PathHelpers.h"
#include "shell/Place.h"
#include "shell/WindowLayer.h"

namespace mirelune {
namespace {

// What one row has gathered by the time its encoder would start. Every row
// starts from nothing, so a step that failed can never hand a later step
// another row's source, output or bitrate.
struct RowWork {
    bool sourceRead = false;
    QString source;
    ReduceOptions options;
    std::optional<QString> folder;
    QString output;
    std::optional<int> kbps;
    Replace replace = Replace::No;
    QString refusal;       // why this row failed before it could run
    QString skip;          // why this row is left alone
    bool renamed = false;  // the target did not take the name the result wanted
    QString recordRoot;    // the folder whose journal records the result
};

// What the user said to results that would replace files already there.
enum class ReplaceAnswer { NotAsked, Yes, No, Cancel };

// Every row's plan with the options the job began with, made before
// anything is written or run: the one question counts it, step 143 reads it.
struct JobPlan {
    RowPlans plans;
    std::map<qint32, std::size_t> byRow;  // row number -> its plan
};

JobPlan PlanJob(ReduceJobView& view, const ReduceOptions& options, bool tryNames) {
    std::vector<Candidate> candidates;
    std::vector<qint32> rowOf;
    for (qint32 r = 1; r <= view.rowCount(); ++r) {
        try {
            candidates.push_back({view.rowText(r), {}});
            rowOf.push_back(r);
        } catch (...) {
            // The row's own steps report it.
        }
    }
    PlannerOptions planner;
    planner.outputFolder = options.option1 ? options.outputFolder : QString();
    planner.beside = !options.option1;  // one of the two is chosen: step 107
    planner.ask = true;
    planner.repeatsRunAgain = true;
    planner.tryNames = tryNames;
    // The list holds MP3 files only; one that is no longer one fails when
    // its encoder runs.
    const auto anyBitrate = [](const QString&) { return std::optional<qint32>(0); };
    JobPlan job{PlanRows(planner, candidates, anyBitrate), {}};
    for (std::size_t i = 0; i < job.plans.rows.size(); ++i) {
        job.byRow.emplace(rowOf[job.plans.rows[i].candidate], i);
    }
    return job;
}

// Results that would replace a file the job did not make or a result
// already made, counted as if the user let them; a source listed again
// replaces the same file once.
int ResultsThatWouldReplace(const RowPlans& plans) {
    std::set<QString> places;
    for (const RowPlan& row : plans.rows) {
        if (row.action == RowPlan::Action::Replace && !row.reason.isEmpty()) {
            places.insert(Place(row.output).foldedText());
        }
    }
    return static_cast<int>(places.size());
}

// The options' controls come back whatever way the job ends.
class OptionsLock {
  public:
    explicit OptionsLock(ReduceJobView& view) : view_(view) { view_.setOptionsEnabled(false); }
    ~OptionsLock() { view_.setOptionsEnabled(true); }
    OptionsLock(const OptionsLock&) = delete;
    OptionsLock& operator=(const OptionsLock&) = delete;

  private:
    ReduceJobView& view_;
};

// ReduceBusy is cleared whatever way the job ends.
class BusyFlag {
  public:
    explicit BusyFlag(bool& busy) : busy_(busy) {}
    ~BusyFlag() { busy_ = false; }
    BusyFlag(const BusyFlag&) = delete;
    BusyFlag& operator=(const BusyFlag&) = delete;

  private:
    bool& busy_;
};

}  // namespace

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
    WindowLayer& window = view.window();
    ErrorGuard g(window, location::kPushButton2Click);
    if (g.test(100, [&] { return busy_; })) {
        return;
    }
    g.step(102, [&] {
        busy_ = true;
        aborted_ = false;
        commandLines_.clear();
    });
    BusyFlag clearBusy(busy_);

    if (g.test(104, [&] { return view.rowCount() == 0; })) {
        g.step(168, [&] {
            window.showMessage(QCoreApplication::translate("ReduceJob", "No files added."));
        });
        g.step(170, [&] { busy_ = false; });
        return;
    }
    if (g.test(106, [&] { return !IsFolder(view.options().outputFolder); })) {
        g.step(166, [&] {
            window.showMessage(QCoreApplication::translate(
                "ReduceJob", "Folder does not exist. Please select another folder."));
        });
        g.step(170, [&] { busy_ = false; });
        return;
    }
    // Without a choice there is no output path at all; ask rather than guess.
    if (g.test(107, [&] {
            const ReduceOptions options = view.options();
            return !options.option1 && !options.option2;
        })) {
        g.step(107, [&] { window.showMessage(ChooseOutputMessage()); });
        g.step(170, [&] { busy_ = false; });
        return;
    }

    g.step(108, [&] { view.setBusyPointer(true); });
    // Every row goes where the options said when the job began: a folder
    // typed or a bitrate picked meanwhile would split one job over two
    // places, and the one question would not have been asked for the second.
    ReduceOptions options;
    std::optional<OptionsLock> lock;
    g.step(108, [&] {
        options = view.options();
        lock.emplace(view);
    });
    // Whether results may replace files that are already there is asked
    // once, before the encoder is even written, so Cancel leaves no trace.
    JobPlan plan;
    ResultJournals journals;
    ReplaceAnswer answer = ReplaceAnswer::NotAsked;
    g.step(109, [&] {
        // Names judged without trying them: before the answer nothing on any
        // target changes, not even a folder's time.
        plan = PlanJob(view, options, false);
        const int replacing = ResultsThatWouldReplace(plan.plans);
        if (replacing == 0) {
            return;
        }
        switch (window.messageBox(ReplaceQuestion(replacing, !options.option1),
                                  window.applicationTitle(), MessageButtons::YesNoCancel,
                                  MessageIcon::None)) {
            case MessageAnswer::Yes:
                answer = ReplaceAnswer::Yes;
                break;
            case MessageAnswer::No:
                answer = ReplaceAnswer::No;
                break;
            default:
                answer = ReplaceAnswer::Cancel;
                break;
        }
    });
    if (answer == ReplaceAnswer::Cancel || aborted_) {
        g.step(158, [&] { view.setBusyPointer(false); });
        g.step(170, [&] { busy_ = false; });
        return;
    }
    // Where the guess was wrong (a stick or share that breaks the rules
    // guessed) this plan may differ from the one the question counted; the
    // answer then still goes by kind: with Yes every row that would replace
    // replaces, otherwise (No, or no question) every one is skipped.
    g.step(109, [&] { plan = PlanJob(view, options, true); });
    QByteArray encoderBytes;
    g.step(110, [&] { encoderBytes = LoadEncoderBytes(); });
    g.step(112, [&] { encoder_ = std::make_unique<EncoderCopy>(encoderBytes); });

    qint32 rowCount = 0;
    g.step(114, [&] {
        rowCount = view.rowCount();
        // Results that moved with their sources, recorded for the new paths
        // only now that the user answered. Unwritten, the next run finds
        // them by their sources' names and stamps again.
        for (const TakeOver& t : plan.plans.takeOvers) {
            journals.journalFor(t.recordRoot).append(t.record);
        }
    });

    std::vector<ReportRow> report;
    for (qint32 i = 1; i <= rowCount && !aborted_; ++i) {
        RowWork row;
        g.step(116, [&] { view.setBusyPointer(true); });
        g.step(118, [&] {
            row.source = view.rowText(i);
            row.sourceRead = true;
        });
        g.step(120, [&] { view.setProgressValue(RowBarValue(i, rowCount)); });
        g.step(122, [&] {
            view.setProgressText(QCoreApplication::translate("ReduceJob", "Processing: %1")
                                     .arg(FileNameOf(row.source)));
        });
        g.step(124, [&] { window.yieldToEvents(); });
        if (aborted_) {
            break;
        }
        g.step(126, [&] { row.options = options; });
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
        if (row.refusal.isEmpty() &&
            g.test(138, [&] { return MayBeSource(row.output, row.source); })) {
            g.step(140, [&] { row.output = ReducedOutputPath(*row.folder, row.source); });
            g.step(142, [&] {
                if (MayBeSource(row.output, row.source)) {
                    row.refusal = reason::WouldOverwriteSource();
                }
            });
        }
        g.step(143, [&] {
            if (!row.refusal.isEmpty()) {
                return;
            }
            const auto planned = plan.byRow.find(i);
            if (planned == plan.byRow.end()) {
                row.refusal = reason::RowUnreadable();
                return;
            }
            const RowPlan& p = plan.plans.rows[planned->second];
            row.recordRoot = p.recordRoot;
            if (!p.output.isEmpty()) {
                row.output = p.output;
            }
            row.renamed = p.renamed;
            switch (p.action) {
                case RowPlan::Action::Skip:
                    row.skip =
                        p.producer.isEmpty() ? p.reason : reason::ResultOf(FileNameOf(p.producer));
                    return;
                case RowPlan::Action::Fail:
                    row.refusal = p.reason;
                    return;
                case RowPlan::Action::Replace:
                    // A row that would replace a file is left alone unless
                    // the user let it.
                    if (!p.reason.isEmpty() && answer != ReplaceAnswer::Yes) {
                        row.skip = p.reason;
                        return;
                    }
                    row.replace = Replace::Yes;
                    return;
                case RowPlan::Action::Reduce:
                    // A file that turns up before the result is ready follows the answer.
                    row.replace = answer == ReplaceAnswer::Yes ? Replace::Yes : Replace::No;
                    return;
            }
        });
        QString encoderPath;
        g.step(144, [&] { encoderPath = encoder_ ? encoder_->path() : QString(); });
        g.step(146, [&] { row.kbps = TargetKbps(row.options.entryText); });
        g.step(148, [&] {
            if (row.refusal.isEmpty() && !row.kbps) {
                row.refusal = reason::NoTargetBitrate();
            }
            if (row.refusal.isEmpty() && row.skip.isEmpty()) {
                commandLines_.append(
                    EncoderCommandText(encoderPath, *row.kbps, row.source, row.output));
            }
        });
        if (!row.refusal.isEmpty()) {
            report.push_back({row.sourceRead
                                  ? row.source
                                  : QCoreApplication::translate("ReduceJob", "row %1").arg(i),
                              {},
                              ReportRow::Status::Failed,
                              row.refusal});
            continue;
        }
        if (!row.skip.isEmpty()) {
            report.push_back({row.source, {}, ReportRow::Status::Skipped, row.skip});
            continue;
        }
        FileReduction reduction({encoderPath, *row.kbps, row.source, row.output, row.replace,
                                 &journals, row.recordRoot, false, std::nullopt,
                                 [this] { return aborted_; }});
        current_ = &reduction;
        g.step(152, [&] {
            RunAndWait(reduction, &view, view.progressText(), view.progressValue(), rowCount,
                       window, pollIntervalMs_);
        });
        current_ = nullptr;
        ReportRow ended =
            EndedRow({row.source, row.output, ReportRow::Status::WouldReduce, {}, {}, row.renamed},
                     reduction.outcome());
        if (ended.status == ReportRow::Status::Reduced) {
            ended.bytesBefore = FileBytes(row.source);
            ended.bytesAfter = FileBytes(row.output);
        }
        report.push_back(std::move(ended));
    }
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
        lock.reset();
    });
    g.step(160, [&] { view.setProgressValue(0); });
    g.step(162, [&] {
        view.setProgressText(QCoreApplication::translate("RunProgress", "Progress Bar"));
    });
    if (!aborted_) {
        g.step(164, [&] {
            QString text = DoneReport(DoneRowsOf(report, window.locale()), window.locale());
            for (const QString& warning : plan.plans.warnings) {
                text += QStringLiteral("\n\n") + warning;
            }
            window.showMessage(text);
        });
    }
    g.step(170, [&] { busy_ = false; });
}

}  // namespace mirelune

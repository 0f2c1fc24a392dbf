// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/ReduceJob.h"

#include <QCoreApplication>
#include <QDir>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "reduce/DeleteFileQuietly.h"
#include "reduce/DoneMessage.h"
#include "reduce/DoneReport.h"
#include "reduce/EncoderCommand.h"
#include "reduce/EncoderCopy.h"
#include "reduce/EncoderResource.h"
#include "reduce/FileReduction.h"
#include "reduce/LargerResults.h"
#include "reduce/OutputNaming.h"
#include "reduce/RecordedResults.h"
#include "reduce/ReduceJobView.h"
#include "reduce/ReduceOptions.h"
#include "reduce/RunAndWait.h"
#include "shell/ErrorGuard.h"
#include "shell/ErrorLocations.h"
#include "shell/FileIdentity.h"
#include "shell/PathHelpers.h"
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

// The output a row would get with the options as they are now; empty when
// it gets none.
QString OutputNow(const ReduceOptions& options, const QString& source) {
    const auto folder =
        OutputFolderFor(source, options.option1, options.option2, options.outputFolder);
    return folder ? OutputPathFor(*folder, source) : QString();
}

// The folder whose journal records a row's result: the folder it goes to.
std::optional<QString> RecordRootFor(const ReduceOptions& options, const QString& source) {
    const auto folder =
        OutputFolderFor(source, options.option1, options.option2, options.outputFolder);
    return folder ? std::optional<QString>(QDir::cleanPath(*folder)) : std::nullopt;
}

// The results recorded where source's result goes are read the first time
// such a folder comes up, and keep their names from then on.
std::optional<QString> ReadRecordsFor(RecordedResults& records, OutputNames& names,
                                      const ReduceOptions& options, const QString& source) {
    const std::optional<QString> root = RecordRootFor(options, source);
    if (root) {
        for (const RecordedResults::Held& held : records.read(*root)) {
            names.claim(held.holder, held.path);
        }
    }
    return root;
}

// Before anything is written or run: every row's output with the options as
// they stand, noted in names, and how many results would replace a file the
// job did not make or a result already made, counted as if the user let
// them.
int CountResultsThatWouldReplace(ReduceJobView& view, const ReduceOptions& options,
                                 OutputNames& names, RecordedResults& records) {
    std::vector<std::pair<QString, QString>> rows;  // source, wanted output
    for (int r = 1; r <= view.rowCount(); ++r) {
        try {
            const QString source = view.rowText(r);
            names.protectSource(source);
            records.noteListed(source);
            rows.emplace_back(source, OutputNow(options, source));
        } catch (...) {
            // The row's own steps report it.
        }
    }
    // Read once every listed file is noted: a result moves with its source
    // whichever row comes first.
    for (const auto& row : rows) {
        try {
            ReadRecordsFor(records, names, options, row.first);
        } catch (...) {
            // The row's own steps report it.
        }
    }
    for (const auto& [source, wanted] : rows) {
        if (!wanted.isEmpty()) {
            names.noteWanted(source, wanted);
        }
    }
    OutputNames trial = names;
    int replacing = 0;
    for (const auto& [source, wanted] : rows) {
        if (wanted.isEmpty() || trial.resultOf(source) || records.sourceOf(source)) {
            continue;
        }
        if (const auto recorded = records.resultFor(*RecordRootFor(options, source), source)) {
            ++replacing;
            trial.claim(source, recorded->path);
            continue;
        }
        const OutputChoice choice = trial.decide(source, wanted);
        if (choice.kind == OutputChoice::Kind::TooLong) {
            continue;
        }
        if (choice.kind == OutputChoice::Kind::Exists) {
            ++replacing;
        }
        trial.claim(source, choice.path);
    }
    return replacing;
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
    OutputNames names;
    RecordedResults records;
    ResultJournals journals;
    ReplaceAnswer answer = ReplaceAnswer::NotAsked;
    g.step(109, [&] {
        const int replacing = CountResultsThatWouldReplace(view, options, names, records);
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
    QByteArray encoderBytes;
    g.step(110, [&] { encoderBytes = LoadEncoderBytes(); });
    g.step(112, [&] { encoder_ = std::make_unique<EncoderCopy>(encoderBytes); });

    qint32 rowCount = 0;
    g.step(114, [&] {
        rowCount = view.rowCount();
        // Every listed file is off limits as an output, also the ones whose
        // turn has not come yet.
        for (int r = 1; r <= rowCount; ++r) {
            try {
                names.protectSource(view.rowText(r));
            } catch (...) {
                // The row's own step reports it.
            }
        }
    });

    DoneRows done;
    std::set<QString> leftAlone;  // files a row was not let replace, by folded place
    std::vector<RowFailure>& failures = done.failures;
    std::vector<RowFailure>& skipped = done.skipped;
    std::vector<RowFailure>& renamed = done.renamed;
    for (qint32 i = 1; i <= rowCount && !aborted_; ++i) {
        RowWork row;
        g.step(116, [&] { view.setBusyPointer(true); });
        g.step(118, [&] {
            row.source = view.rowText(i);
            row.sourceRead = true;
            done.listed.append(row.source);
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
            row.recordRoot = *ReadRecordsFor(records, names, row.options, row.source);
            if (const auto producer = names.resultOf(row.source)) {
                row.skip = reason::ResultOf(FileNameOf(*producer));
                return;
            }
            if (const auto producer = records.sourceOf(row.source)) {
                row.skip = reason::ResultOf(FileNameOf(*producer));
                return;
            }
            if (const auto recorded = records.resultFor(row.recordRoot, row.source)) {
                // Made before: it keeps its name, and is made again only when
                // the user let results replace files.
                row.output = recorded->path;
                names.claim(row.source, row.output);
                if (recorded->takeOver) {
                    // Unwritten, the next run finds the result by its
                    // source's name and stamp again.
                    journals.journalFor(row.recordRoot).append(*recorded->takeOver);
                }
                if (answer == ReplaceAnswer::Yes) {
                    row.replace = Replace::Yes;
                } else {
                    row.skip = recorded->state == RecordedResults::State::Outdated
                                   ? reason::Outdated()
                                   : reason::Exists();
                }
                return;
            }
            names.noteWanted(row.source, row.output);
            const OutputChoice choice = names.decide(row.source, row.output);
            row.output = choice.path;
            row.renamed = choice.renamed;
            switch (choice.kind) {
                case OutputChoice::Kind::TooLong:
                    row.refusal = reason::NameTooLong();
                    return;
                case OutputChoice::Kind::Exists:
                    if (answer != ReplaceAnswer::Yes) {
                        // Held all the same, as when the question was
                        // counted: the next row of that name takes the
                        // next number, not the file that stays.
                        names.claim(row.source, row.output);
                        leftAlone.insert(FoldedPlaceKey(row.output));
                        row.skip = reason::Exists();
                        return;
                    }
                    row.replace = Replace::Yes;
                    break;
                case OutputChoice::Kind::Ours:
                    // The same source listed again: its first result, or the
                    // file its first listing was not let replace.
                    if (leftAlone.count(FoldedPlaceKey(row.output)) != 0) {
                        row.skip = reason::Exists();
                        return;
                    }
                    row.replace = Replace::Yes;
                    break;
                case OutputChoice::Kind::Free:
                    // A file that turns up before the result is ready follows the answer.
                    row.replace = answer == ReplaceAnswer::Yes ? Replace::Yes : Replace::No;
                    break;
            }
            names.claim(row.source, row.output);
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
            failures.push_back({row.sourceRead
                                    ? row.source
                                    : QCoreApplication::translate("ReduceJob", "row %1").arg(i),
                                row.refusal});
            continue;
        }
        if (!row.skip.isEmpty()) {
            skipped.push_back({row.source, row.skip});
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
        if (reduction.outcome().status == ReductionOutcome::Status::Failed) {
            failures.push_back({row.source, reduction.outcome().reason});
        } else if (reduction.outcome().status == ReductionOutcome::Status::Skipped) {
            skipped.push_back({row.source, reduction.outcome().reason});
        } else if (reduction.outcome().status == ReductionOutcome::Status::Reduced && row.renamed) {
            renamed.push_back({row.source, SavedAs(FileNameOf(row.output))});
        }
        if (reduction.outcome().status == ReductionOutcome::Status::Reduced) {
            if (const auto growth = GrowthOf(window.locale(), row.source, row.output)) {
                done.larger.push_back({row.source, *growth});
            }
            if (!reduction.outcome().note.isEmpty()) {
                done.notes.push_back({row.source, reduction.outcome().note});
            }
        }
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
            QString text = DoneReport(done, window.locale());
            for (const QString& warning : records.warnings()) {
                text += QStringLiteral("\n\n") + warning;
            }
            window.showMessage(text);
        });
    }
    g.step(170, [&] { busy_ = false; });
}

}  // namespace mirelune

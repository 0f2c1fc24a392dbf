#include "reduce/ReduceJob.h"

#include <optional>
#include <vector>

#include "reduce/DeleteFileQuietly.h"
#include "reduce/DoneMessage.h"
#include "reduce/EncoderCommand.h"
#include "reduce/EncoderCopy.h"
#include "reduce/EncoderResource.h"
#include "reduce/FileReduction.h"
#include "reduce/OutputNaming.h"
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
    QString refusal;  // why this row must not run
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
        g.step(168, [&] { window.showMessage(QStringLiteral("No files added.")); });
        g.step(170, [&] { busy_ = false; });
        return;
    }
    if (g.test(106, [&] { return !IsFolder(view.options().outputFolder); })) {
        g.step(166, [&] {
            window.showMessage(
                QStringLiteral("Folder does not exist. Please select another folder."));
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
    QByteArray encoderBytes;
    g.step(110, [&] { encoderBytes = LoadEncoderBytes(); });
    g.step(112, [&] { encoder_ = std::make_unique<EncoderCopy>(encoderBytes); });

    qint32 rowCount = 0;
    OutputNames names;
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

    std::vector<RowFailure> failures;
    for (qint32 i = 1; i <= rowCount && !aborted_; ++i) {
        RowWork row;
        g.step(116, [&] { view.setBusyPointer(true); });
        g.step(118, [&] {
            row.source = view.rowText(i);
            row.sourceRead = true;
        });
        g.step(120, [&] { view.setProgressValue(RowBarValue(i, rowCount)); });
        g.step(122, [&] {
            view.setProgressText(QStringLiteral("Processing: ") + FileNameOf(row.source));
        });
        g.step(124, [&] { window.yieldToEvents(); });
        if (aborted_) {
            break;
        }
        g.step(126, [&] { row.options = view.options(); });
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
            g.test(138, [&] { return IsSameFile(row.output, row.source); })) {
            g.step(140, [&] { row.output = ReducedOutputPath(*row.folder, row.source); });
            g.step(142, [&] {
                if (IsSameFile(row.output, row.source)) {
                    row.refusal = reason::WouldOverwriteSource();
                }
            });
        }
        g.step(143, [&] {
            if (row.refusal.isEmpty()) {
                row.output = names.claim(row.source, row.output);
            }
        });
        QString encoderPath;
        g.step(144, [&] { encoderPath = encoder_ ? encoder_->path() : QString(); });
        g.step(146, [&] { row.kbps = TargetKbps(row.options.entryText); });
        g.step(148, [&] {
            if (row.refusal.isEmpty() && !row.kbps) {
                row.refusal = reason::NoTargetBitrate();
            }
            if (row.refusal.isEmpty()) {
                commandLines_.append(
                    EncoderCommandText(encoderPath, *row.kbps, row.source, row.output));
            }
        });
        if (!row.refusal.isEmpty()) {
            failures.push_back(
                {row.sourceRead ? FileNameOf(row.source) : QStringLiteral("row %1").arg(i),
                 row.refusal});
            continue;
        }
        FileReduction reduction({encoderPath, *row.kbps, row.source, row.output});
        current_ = &reduction;
        g.step(152, [&] {
            RunAndWait(reduction, &view, view.progressText(), view.progressValue(), rowCount,
                       window, pollIntervalMs_);
        });
        current_ = nullptr;
        if (reduction.outcome().status == ReductionOutcome::Status::Failed) {
            failures.push_back({FileNameOf(row.source), reduction.outcome().reason});
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
    g.step(158, [&] { view.setBusyPointer(false); });
    g.step(160, [&] { view.setProgressValue(0); });
    g.step(162, [&] { view.setProgressText(QStringLiteral("Progress Bar")); });
    if (!aborted_) {
        g.step(164, [&] { window.showMessage(DoneMessage(failures)); });
    }
    g.step(170, [&] { busy_ = false; });
}

}  // namespace mirelune

#include "ReduceCommand.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

#include "cli/ReducePlan.h"
#include "reduce/EncoderCommand.h"
#include "reduce/EncoderCopy.h"
#include "reduce/EncoderResource.h"
#include "reduce/ReduceOptions.h"
#include "reduce/ReductionBatch.h"
#include "reduce/ReductionOutcome.h"
#include "shell/Failure.h"
#include "shell/PathHelpers.h"
#include "shell/StopOnSignal.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace mirelune::cli {
namespace {

constexpr int kMaxJobs = 256;

struct Settings {
    PlanSettings plan;
    int jobs = 1;
    bool dryRun = false;
    QStringList paths;
};

int UsageError(const CommandArguments& args, const QString& message) {
    std::fprintf(stderr, "mirelune-cli reduce: %s\nTry '%s --help'.\n", qPrintable(message),
                 qPrintable(args.text.value(0)));
    return kExitUsage;
}

std::vector<int> OfferedBitrates() {
    std::vector<int> offered;
    for (const QString& entry : ReduceEntries()) {
        offered.push_back(TargetKbps(entry));
    }
    return offered;
}

// Returns the settings, or the exit status of a usage error or --help.
std::optional<Settings> ParseSettings(const CommandArguments& args, int& status) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Re-encode MP3 files at a lower constant bitrate. Folders are searched with all their "
        "sub-folders; files that are not MP3 are skipped."));
    AddHelpOption(parser);
    const QCommandLineOption bitrate(
        {QStringLiteral("b"), QStringLiteral("bitrate")},
        QStringLiteral("Target bitrate in kbps: 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, "
                       "224, 256 or 320 (default 128)."),
        QStringLiteral("KBPS"), QStringLiteral("128"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Save the results in the existing folder DIR "
                                                   "(no default: give -o or --beside)."),
                                    QStringLiteral("DIR"));
    const QCommandLineOption beside(QStringLiteral("beside"),
                                    QStringLiteral("Save each result in its original's folder."));
    const QCommandLineOption jobs(
        {QStringLiteral("j"), QStringLiteral("jobs")},
        QStringLiteral("Run N encoders at once (default: the number of processor cores)."),
        QStringLiteral("N"));
    const QCommandLineOption keepTree(
        QStringLiteral("keep-tree"),
        QStringLiteral("With -o: rebuild each folder argument's sub-folders under DIR."));
    const QCommandLineOption skipLower(
        QStringLiteral("skip-lower"),
        QStringLiteral("Skip files whose bitrate is already at or below the target."));
    const QCommandLineOption overwrite(
        QStringLiteral("overwrite"),
        QStringLiteral("Replace files already at the output paths (default: leave them and skip "
                       "their sources)."));
    const QCommandLineOption dryRun(
        QStringLiteral("dry-run"),
        QStringLiteral("Print each source, its output and the encoder command; run nothing."));
    parser.addOptions({bitrate, output, beside, jobs, keepTree, skipLower, overwrite, dryRun});
    parser.addPositionalArgument(QStringLiteral("PATH"),
                                 QStringLiteral("MP3 files, or folders to search."),
                                 QStringLiteral("PATH..."));
    if (!ParseOrExplain(parser, args)) {
        status = kExitUsage;
        return std::nullopt;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        PrintHelp(parser, args, QStringLiteral("PATH..."));
        status = kExitOk;
        return std::nullopt;
    }

    Settings settings;
    bool isNumber = false;
    settings.plan.kbps = parser.value(bitrate).toInt(&isNumber);
    const std::vector<int> offered = OfferedBitrates();
    if (!isNumber ||
        std::find(offered.begin(), offered.end(), settings.plan.kbps) == offered.end()) {
        status = UsageError(args, QStringLiteral("-b %1 is not one of 32, 40, 48, 56, 64, 80, "
                                                 "96, 112, 128, 160, 192, 224, 256, 320")
                                      .arg(parser.value(bitrate)));
        return std::nullopt;
    }
    if (parser.isSet(output) == parser.isSet(beside)) {
        status = UsageError(args, QStringLiteral("give exactly one of -o DIR and --beside"));
        return std::nullopt;
    }
    settings.plan.beside = parser.isSet(beside);
    if (!settings.plan.beside) {
        settings.plan.outputFolder = Absolute(parser.value(output));
        if (!IsFolder(settings.plan.outputFolder)) {
            status = UsageError(
                args, QStringLiteral("output folder does not exist: %1").arg(parser.value(output)));
            return std::nullopt;
        }
    }
    settings.jobs = QThread::idealThreadCount();
    if (parser.isSet(jobs)) {
        settings.jobs = parser.value(jobs).toInt(&isNumber);
        if (!isNumber || settings.jobs < 1 || settings.jobs > kMaxJobs) {
            status = UsageError(
                args, QStringLiteral("-j needs a whole number from 1 to %1").arg(kMaxJobs));
            return std::nullopt;
        }
    }
    settings.jobs = std::clamp(settings.jobs, 1, kMaxJobs);
    settings.plan.keepTree = parser.isSet(keepTree);
    if (settings.plan.keepTree && settings.plan.beside) {
        status = UsageError(args, QStringLiteral("--keep-tree needs -o DIR"));
        return std::nullopt;
    }
    settings.plan.skipLower = parser.isSet(skipLower);
    settings.plan.overwrite = parser.isSet(overwrite);
    settings.dryRun = parser.isSet(dryRun);
    settings.paths = parser.positionalArguments();
    if (settings.paths.isEmpty()) {
        status = UsageError(args, QStringLiteral("no PATH given"));
        return std::nullopt;
    }
    return settings;
}

void PrintNotes(const char* kind, const std::vector<Note>& notes) {
    for (const Note& note : notes) {
        std::fprintf(stderr, "%s: %s: %s\n", kind, qPrintable(note.path), qPrintable(note.text));
    }
}

QString SizeText(qint64 bytes) {
    return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeIecFormat);
}

bool StderrIsTerminal() {
#ifdef Q_OS_UNIX
    return isatty(STDERR_FILENO) != 0;
#else
    return false;
#endif
}

int DryRun(const Settings& settings, const Plan& plan) {
    const QString encoder = QDir::toNativeSeparators(
        QDir(EncoderFolderBase()).filePath(QStringLiteral("mirelune-XXXXXX/") + EncoderFileName()));
    for (const PlannedReduction& r : plan.reductions) {
        std::printf(
            "%s → %s\n  %s\n", qPrintable(r.source), qPrintable(r.output),
            qPrintable(EncoderCommandText(encoder, settings.plan.kbps, r.source, r.output)));
    }
    PrintNotes("skipped", plan.skipped);
    PrintNotes("failed", plan.failed);
    std::printf("would reduce %zu, skip %zu, fail %zu\n", plan.reductions.size(),
                plan.skipped.size(), plan.failed.size());
    return plan.failed.empty() ? kExitOk : kExitSomeFailed;
}

}  // namespace

int RunReduce(const CommandArguments& args) {
    int status = kExitOk;
    const std::optional<Settings> parsed = ParseSettings(args, status);
    if (!parsed) {
        return status;
    }
    const Settings& settings = *parsed;
    const Plan plan = MakeReducePlan(settings.plan, settings.paths);
    if (settings.dryRun) {
        return DryRun(settings, plan);
    }

    // From here on a signal cleans up instead of killing the program on the
    // spot: the encoder copy must not be left behind, nor a partial result.
    const StopOnSignal stop([] { QCoreApplication::exit(kExitInterrupted); });
    std::vector<ReductionRequest> requests;
    std::vector<Note> failed = plan.failed;
    std::vector<Note> skipped = plan.skipped;
    std::unique_ptr<EncoderCopy> encoder;
    try {
        // A run again over files that are all done needs no encoder.
        if (!plan.reductions.empty()) {
            encoder = std::make_unique<EncoderCopy>(LoadEncoderBytes());
        }
    } catch (const Failure& failure) {
        std::fprintf(stderr, "mirelune-cli reduce: %s\n", qPrintable(failure.text()));
    }
    for (const PlannedReduction& r : plan.reductions) {
        // --keep-tree folders are made only now that something will go in them.
        QDir().mkpath(QFileInfo(r.output).path());
        requests.push_back({encoder ? encoder->path() : QString(), settings.plan.kbps, r.source,
                            r.output, r.replace ? Replace::Yes : Replace::No});
    }

    const bool showProgress = StderrIsTerminal();
    std::vector<ReductionOutcome> outcomes(requests.size());
    std::size_t done = 0;
    if (!stop.stopRequested()) {
        RunReductions(requests, settings.jobs, [&](std::size_t index, const ReductionOutcome& o) {
            outcomes[index] = o;
            ++done;
            if (showProgress) {
                std::fprintf(stderr, "[%zu/%zu] %s\n", done, requests.size(),
                             qPrintable(FileNameOf(requests[index].source)));
            }
        });
    }
    encoder.reset();
    if (stop.stopRequested()) {
        std::fprintf(stderr, "mirelune-cli reduce: interrupted; %zu of %zu files were done\n", done,
                     requests.size());
        return kExitInterrupted;
    }

    std::size_t reduced = 0;
    qint64 before = 0;
    qint64 after = 0;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        if (outcomes[i].status == ReductionOutcome::Status::Reduced) {
            ++reduced;
            before += plan.reductions[i].sourceBytes;
            after += QFileInfo(requests[i].output).size();
        } else if (outcomes[i].status == ReductionOutcome::Status::Skipped) {
            skipped.push_back({requests[i].source, outcomes[i].reason});
        } else {
            failed.push_back({requests[i].source, outcomes[i].reason});
        }
    }
    PrintNotes("skipped", skipped);
    PrintNotes("failed", failed);
    // Results larger than their sources (a target above the originals'
    // bitrate) say so rather than show a negative saving.
    const double change =
        before > 0 ? 100.0 * static_cast<double>(std::abs(before - after)) / before : 0.0;
    std::printf("reduced %zu, skipped %zu, failed %zu; %s → %s, %.1f%% %s\n", reduced,
                skipped.size(), failed.size(), qPrintable(SizeText(before)),
                qPrintable(SizeText(after)), change, after > before ? "larger" : "saved");
    std::fflush(stdout);
    return failed.empty() ? kExitOk : kExitSomeFailed;
}

}  // namespace mirelune::cli

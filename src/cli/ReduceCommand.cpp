// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReduceCommand.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include "cli/PathList.h"
#include "cli/ReducePlan.h"
#include "cli/ReduceReport.h"
#include "cli/Shard.h"
#include "reduce/DoneMessage.h"
#include "reduce/EncoderCommand.h"
#include "reduce/EncoderCopy.h"
#include "reduce/EncoderResource.h"
#include "reduce/ReduceOptions.h"
#include "reduce/ReductionBatch.h"
#include "reduce/ReductionOutcome.h"
#include "reduce/ResultJournal.h"
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
    bool json = false;
    bool keepTime = false;
    Shard shard;
    // PATH arguments, then the --from list, as the bytes given.
    QByteArrayList paths;
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
    const QCommandLineOption refresh(
        QStringLiteral("refresh"),
        QStringLiteral("Make again the results of sources that changed since their results were "
                       "made (each in its own place, while it still holds that result)."));
    const QCommandLineOption keepTime(
        QStringLiteral("keep-time"),
        QStringLiteral("Give each result its original's modification time."));
    const QCommandLineOption dryRun(
        QStringLiteral("dry-run"),
        QStringLiteral("Print each source, its output and the encoder command; run nothing."));
    const QCommandLineOption shard(
        QStringLiteral("shard"),
        QStringLiteral("Reduce only the files of shard K of N (1 <= K <= N), so that N machines "
                       "given the same paths share one job."),
        QStringLiteral("K/N"));
    const QCommandLineOption from(
        QStringLiteral("from"),
        QStringLiteral("Also reduce the paths listed in FILE, one per line ('-': standard input)."),
        QStringLiteral("FILE"));
    const QCommandLineOption null(
        QStringLiteral("null"),
        QStringLiteral("With --from: the paths end with NUL characters, as find -print0 writes "
                       "them."));
    const QCommandLineOption json(
        QStringLiteral("json"),
        QStringLiteral("One JSON object per file on standard output as each ends, then a summary "
                       "object; the summary text goes to standard error."));
    parser.addOptions({bitrate, output, beside, jobs, keepTree, skipLower, overwrite, refresh,
                       keepTime, dryRun, shard, from, null, json});
    parser.addPositionalArgument(
        QStringLiteral("PATH"),
        QStringLiteral("MP3 files, or folders to search (none needed with --from)."),
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
    settings.plan.refresh = parser.isSet(refresh);
    settings.keepTime = parser.isSet(keepTime);
    settings.dryRun = parser.isSet(dryRun);
    if (parser.isSet(shard)) {
        const std::optional<Shard> parsed = ParseShard(parser.value(shard));
        if (!parsed) {
            status = UsageError(
                args,
                QStringLiteral("--shard %1 is not K/N with 1 <= K <= N").arg(parser.value(shard)));
            return std::nullopt;
        }
        settings.shard = *parsed;
    }
    settings.json = parser.isSet(json);
    if (settings.json && settings.dryRun) {
        status = UsageError(args, QStringLiteral("--json does not go with --dry-run"));
        return std::nullopt;
    }
    if (parser.isSet(null) && !parser.isSet(from)) {
        status = UsageError(args, QStringLiteral("--null needs --from FILE"));
        return std::nullopt;
    }
    const QStringList positionals = parser.positionalArguments();
    if (positionals.isEmpty() && !parser.isSet(from)) {
        status = UsageError(args, QStringLiteral("no PATH given"));
        return std::nullopt;
    }
    settings.paths = NativePositionals(args, positionals);
    if (parser.isSet(from)) {
        QString error;
        const std::optional<QByteArray> list = ReadPathList(parser.value(from), error);
        if (!list) {
            status = UsageError(
                args, QStringLiteral("cannot read %1: %2").arg(parser.value(from), error));
            return std::nullopt;
        }
        settings.paths += SplitPathList(*list, parser.isSet(null));
    }
    return settings;
}

void PrintNotes(const char* kind, const std::vector<Note>& notes) {
    for (const Note& note : notes) {
        std::fprintf(stderr, "%s: %s: %s\n", kind, qPrintable(note.path), qPrintable(note.text));
    }
}

bool StderrIsTerminal() {
#ifdef Q_OS_UNIX
    return isatty(STDERR_FILENO) != 0;
#else
    return false;
#endif
}

// The whole job's plan cut down to the shard's rows. Names given on the
// command line or in the list that no text can hold are failures of their
// own, reported by the shard they fall to.
Plan ShardPlan(const Settings& settings) {
    QStringList paths;
    std::vector<Note> unreadable;
    for (const QByteArray& native : settings.paths) {
        if (const std::optional<QString> text = PathText(native)) {
            paths.append(*text);
        } else {
            unreadable.push_back(
                {QFile::decodeName(native),
                 QStringLiteral("the name is not valid in the file-name encoding")});
        }
    }
    Plan plan = MakeReducePlan(settings.plan, paths);
    plan.failed.insert(plan.failed.begin(), unreadable.begin(), unreadable.end());
    KeepShard(plan, settings.shard);
    return plan;
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

// Rows go out one by one as they end, so a reader of a pipe sees each at once.
void PrintJson(const QByteArray& line) {
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout);
    std::fflush(stdout);
}

void PrintNoteRows(RowEnd::Status status, const std::vector<Note>& notes) {
    for (const Note& note : notes) {
        const QFileInfo source(note.path);
        PrintJson(RowJson({note.path, note.output, status, note.text,
                           source.isFile() ? std::optional<qint64>(source.size()) : std::nullopt,
                           std::nullopt, 0.0}));
    }
}

RowEnd EndOf(const PlannedReduction& planned, const ReductionOutcome& outcome, double seconds) {
    RowEnd row{planned.source, planned.output,      RowEnd::Status::Failed,
               outcome.reason, planned.sourceBytes, std::nullopt,
               seconds};
    if (outcome.status == ReductionOutcome::Status::Reduced) {
        row.status = RowEnd::Status::Reduced;
        row.bytesAfter = QFileInfo(planned.output).size();
    } else if (outcome.status == ReductionOutcome::Status::Skipped) {
        row.status = RowEnd::Status::Skipped;
    } else if (outcome.status == ReductionOutcome::Status::Interrupted) {
        row.status = RowEnd::Status::Interrupted;
    }
    return row;
}

}  // namespace

int RunReduce(const CommandArguments& args) {
    int status = kExitOk;
    const std::optional<Settings> parsed = ParseSettings(args, status);
    if (!parsed) {
        return status;
    }
    const Settings& settings = *parsed;
    const Plan plan = ShardPlan(settings);
    if (settings.dryRun) {
        return DryRun(settings, plan);
    }

    // From here on a signal cleans up instead of killing the program on the
    // spot: the encoder copy must not be left behind, nor a partial result.
    const StopOnSignal stop([] { QCoreApplication::exit(kExitInterrupted); });
    QElapsedTimer clock;
    clock.start();
    if (settings.json) {
        PrintNoteRows(RowEnd::Status::Skipped, plan.skipped);
        PrintNoteRows(RowEnd::Status::Failed, plan.failed);
    }
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
    ResultJournals journals;
    for (const PlannedReduction& r : plan.reductions) {
        // --keep-tree folders are made only now that something will go in them.
        QDir().mkpath(QFileInfo(r.output).path());
        requests.push_back({encoder ? encoder->path() : QString(), settings.plan.kbps, r.source,
                            r.output, r.replace ? Replace::Yes : Replace::No, &journals,
                            r.recordRoot, settings.keepTime, r.replacing,
                            [&stop] { return stop.stopRequested(); }});
    }

    const bool showProgress = StderrIsTerminal();
    std::vector<ReductionOutcome> outcomes(requests.size());
    std::vector<qint64> startedAt(requests.size(), 0);
    std::size_t done = 0;
    if (!stop.stopRequested()) {
        RunReductions(
            requests, settings.jobs,
            [&](std::size_t index, const ReductionOutcome& o) {
                outcomes[index] = o;
                ++done;
                if (settings.json) {
                    const double seconds = (clock.nsecsElapsed() - startedAt[index]) / 1e9;
                    PrintJson(RowJson(EndOf(plan.reductions[index], o, seconds)));
                }
                if (showProgress) {
                    std::fprintf(stderr, "[%zu/%zu] %s\n", done, requests.size(),
                                 qPrintable(FileNameOf(requests[index].source)));
                }
            },
            [&](std::size_t index) { startedAt[index] = clock.nsecsElapsed(); });
    }
    encoder.reset();

    ReduceTotals totals;
    std::vector<Note> renamed;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        if (outcomes[i].status == ReductionOutcome::Status::Reduced) {
            if (plan.reductions[i].renamed) {
                renamed.push_back(
                    {requests[i].source, SavedAs(QDir::toNativeSeparators(requests[i].output))});
            }
            ++totals.reduced;
            totals.bytesBefore += plan.reductions[i].sourceBytes;
            totals.bytesAfter += QFileInfo(requests[i].output).size();
        } else if (outcomes[i].status == ReductionOutcome::Status::Skipped) {
            skipped.push_back({requests[i].source, outcomes[i].reason, requests[i].output});
        } else if (outcomes[i].status == ReductionOutcome::Status::Interrupted) {
            ++totals.interrupted;
        } else if (outcomes[i].status != ReductionOutcome::Status::Pending) {
            failed.push_back({requests[i].source, outcomes[i].reason, requests[i].output});
        }
    }
    totals.skipped = skipped.size();
    totals.failed = failed.size();
    totals.gone = static_cast<std::size_t>(plan.gone);
    totals.seconds = clock.nsecsElapsed() / 1e9;
    totals.stopped = stop.stopRequested();
    if (settings.json) {
        PrintJson(SummaryJson(totals));
    }
    if (totals.stopped) {
        std::fprintf(stderr, "mirelune-cli reduce: interrupted; %zu of %zu files were reduced\n",
                     totals.reduced, requests.size());
        return kExitInterrupted;
    }
    PrintNotes("renamed", renamed);
    PrintNotes("skipped", skipped);
    PrintNotes("failed", failed);
    std::fprintf(settings.json ? stderr : stdout, "%s\n", qPrintable(SummaryText(totals)));
    std::fflush(stdout);
    return failed.empty() ? kExitOk : kExitSomeFailed;
}

}  // namespace mirelune::cli

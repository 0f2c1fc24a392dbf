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

#include "cli/DryRun.h"
#include "cli/FitBitrate.h"
#include "cli/FitSize.h"
#include "cli/PathList.h"
#include "cli/PredictedSizes.h"
#include "cli/ReducePlan.h"
#include "cli/ReduceReport.h"
#include "cli/Shard.h"
#include "folders/LeftOutNames.h"
#include "folders/RealFolders.h"
#include "reduce/EncoderCommand.h"
#include "reduce/EncoderCopy.h"
#include "reduce/EncoderResource.h"
#include "reduce/LargerResults.h"
#include "reduce/ReduceOptions.h"
#include "reduce/ReductionBatch.h"
#include "reduce/ReductionOutcome.h"
#include "runs/ResultJournal.h"
#include "shell/Failure.h"
#include "shell/NameText.h"
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
    // The bitrate is the highest whose results fit this.
    std::optional<FitTarget> fit;
    // PATH arguments, then the --from list, as the bytes given.
    QByteArrayList paths;
};

// Why -o DIR cannot take the results, or nothing.
std::optional<QString> OutputFolderProblem(const QString& absolute, const QString& given) {
    if (IsFolder(absolute)) {
        return std::nullopt;
    }
    return QFileInfo::exists(absolute)
               ? QStringLiteral("-o %1 is not a folder").arg(ShownPath(given))
               : QStringLiteral("output folder does not exist: %1").arg(ShownPath(given));
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
    const QCommandLineOption fit(
        QStringLiteral("fit"),
        QStringLiteral("Choose the highest bitrate whose results fit in SIZE (16G, 900M, 64GB, "
                       "bytes; K, M, G, T and KiB ... TiB count by 1024, KB ... TB by 1000) or "
                       "in the output folder's free space ('free'). Exit status 3 when nothing "
                       "fits."),
        QStringLiteral("SIZE"));
    const QList<QCommandLineOption> options{bitrate,   output,    beside,  jobs,     keepTree,
                                            skipLower, overwrite, refresh, keepTime, dryRun,
                                            shard,     fit,       from,    null,     json};
    parser.addPositionalArgument(
        QStringLiteral("PATH"),
        QStringLiteral("MP3 files, or folders to search (none needed with --from)."),
        QStringLiteral("PATH..."));
    if (!ParseOrExplain(parser, args, options)) {
        status = kExitUsage;
        return std::nullopt;
    }
    if (const std::optional<int> answered =
            AnswerCommonOptions(parser, args, options, QStringLiteral("PATH..."))) {
        status = *answered;
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
    settings.plan.where.beside = parser.isSet(beside);
    if (!settings.plan.where.beside) {
        settings.plan.where.outputFolder = Absolute(parser.value(output));
        if (const std::optional<QString> problem =
                OutputFolderProblem(settings.plan.where.outputFolder, parser.value(output))) {
            status = UsageError(args, *problem);
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
    settings.plan.where.keepTree = parser.isSet(keepTree);
    if (settings.plan.where.keepTree && settings.plan.where.beside) {
        status = UsageError(args, QStringLiteral("--keep-tree needs -o DIR"));
        return std::nullopt;
    }
    settings.plan.skipLower = parser.isSet(skipLower);
    settings.plan.where.overwrite = parser.isSet(overwrite);
    settings.plan.where.refresh = parser.isSet(refresh);
    settings.keepTime = parser.isSet(keepTime);
    settings.dryRun = parser.isSet(dryRun);
    settings.plan.where.tryNames = !settings.dryRun;
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
    if (parser.isSet(fit)) {
        settings.fit = ParseFitTarget(parser.value(fit));
        const QString given = QStringLiteral("--fit ") + parser.value(fit);
        QString problem;
        if (!settings.fit) {
            problem = given + QStringLiteral(" is neither a size (16G, 900M, bytes) nor 'free'");
        } else if (parser.isSet(bitrate)) {
            problem = given + QStringLiteral(" chooses the bitrate: give no -b with it");
        } else if (settings.plan.skipLower) {
            problem = given + QStringLiteral(
                                  " cannot be used with --skip-lower: which files are reduced "
                                  "would depend on the bitrate it chooses");
        } else if (settings.fit->free && parser.isSet(shard)) {
            problem = QStringLiteral(
                "--fit free cannot be used with --shard: the shards would read the free space "
                "at different moments; give the size (--fit 900M), and every shard chooses the "
                "same bitrate");
        }
        if (!problem.isEmpty()) {
            status = UsageError(args, problem);
            return std::nullopt;
        }
    }
    settings.json = parser.isSet(json);
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
                args,
                QStringLiteral("cannot read %1: %2").arg(ShownPath(parser.value(from)), error));
            return std::nullopt;
        }
        settings.paths += SplitPathList(*list, parser.isSet(null));
    }
    return settings;
}

bool StderrIsTerminal() {
#ifdef Q_OS_UNIX
    return isatty(STDERR_FILENO) != 0;
#else
    return false;
#endif
}

// The whole job's plan, before it is cut down to a shard's rows. A name
// given on the command line or in the list that is not UTF-8 is skipped as a
// folder walk skips it; one holding a NUL byte names no file at all and
// fails. Either is reported by the shard it falls to.
Plan WholePlan(const Settings& settings) {
    QStringList paths;
    std::vector<Note> notUtf8;
    std::vector<Note> holdingNul;
    for (const QByteArray& native : settings.paths) {
        if (const std::optional<QString> text = PathText(native)) {
            paths.append(*text);
        } else if (native.contains('\0')) {
            holdingNul.push_back(
                {EscapedNativeName(native), QStringLiteral("the name holds a NUL byte")});
        } else {
            notUtf8.push_back(
                {EscapedNativeName(native), QString::fromUtf8(left_out::kNameNotUtf8)});
        }
    }
    Plan plan = MakeReducePlan(settings.plan, paths);
    plan.skipped.insert(plan.skipped.begin(), notUtf8.begin(), notUtf8.end());
    plan.failed.insert(plan.failed.begin(), holdingNul.begin(), holdingNul.end());
    return plan;
}

// Rows go out one by one as they end, so a reader of a pipe sees each at once.
void PrintJson(const QByteArray& line) {
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout);
    std::fflush(stdout);
}

}  // namespace

int RunReduce(const CommandArguments& args) {
    int status = kExitOk;
    const std::optional<Settings> parsed = ParseSettings(args, status);
    if (!parsed) {
        return status;
    }
    Settings settings = *parsed;
    Plan plan = WholePlan(settings);
    for (const QString& warning : plan.warnings) {
        std::fprintf(stderr, "warning: %s\n", qPrintable(warning));
    }
    if (settings.fit) {
        // Over the whole job, so that every shard chooses the same bitrate.
        ReadSourceFactsOf(plan);
        const FitOutcome fit = FitBitrate(plan, *settings.fit, settings.jobs, OfferedBitrates());
        if (!fit.refusal.isEmpty()) {
            return UsageError(args, fit.refusal);
        }
        if (!fit.kbps) {
            std::fprintf(stderr, "mirelune-cli reduce: %s\n", qPrintable(fit.text));
            return kExitNothingFits;
        }
        std::fprintf(settings.json ? stderr : stdout, "fit: %s\n", qPrintable(fit.text));
        std::fflush(stdout);
        settings.plan.kbps = *fit.kbps;
    }
    KeepShard(plan, settings.shard);
    if (settings.dryRun) {
        return DryRun(plan, settings.plan.kbps, settings.json);
    }

    // From here on a signal cleans up instead of killing the program on the
    // spot: the encoder copy must not be left behind, nor a partial result.
    const StopOnSignal stop([] { QCoreApplication::exit(kExitInterrupted); });
    QElapsedTimer clock;
    clock.start();
    // The rows the plan leaves out come first, then one per reduction, each
    // as planned until its reduction ends.
    std::vector<ReportRow> rows = LeftOutRows(plan);
    const std::size_t firstReduction = rows.size();
    if (settings.json) {
        for (const ReportRow& row : rows) {
            PrintJson(RowJson(row));
        }
    }
    std::vector<ReductionRequest> requests;
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
    for (const TakeOver& t : plan.takeOvers) {
        const QString error = journals.journalFor(t.recordRoot).append(t.record);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "warning: %s\n", qPrintable(error));
        }
    }
    for (const PlannedReduction& r : plan.reductions) {
        // --keep-tree folders are made only now that something will go in
        // them, step by step below the output folder and through no link.
        const QString below = QDir(r.recordRoot).relativeFilePath(QFileInfo(r.output).path());
        if (below != QStringLiteral(".") && StaysBelow(below)) {
            OpenFolderBelow(r.recordRoot, below, true);
        }
        requests.push_back({.encoderPath = encoder ? encoder->path() : QString(),
                            .kbps = settings.plan.kbps,
                            .source = r.source,
                            .output = r.output,
                            .replace = r.replace ? Replace::Yes : Replace::No,
                            .journals = &journals,
                            .recordRoot = r.recordRoot,
                            .keepTime = settings.keepTime,
                            .expectedThere = r.expectedThere,
                            .stopRequested = [&stop] { return stop.stopRequested(); }});
        rows.push_back(PlannedRow(r));
    }

    const bool showProgress = StderrIsTerminal();
    std::vector<qint64> startedAt(requests.size(), 0);
    std::size_t done = 0;
    int timesNotKept = 0;
    if (!stop.stopRequested()) {
        RunReductions(
            requests, settings.jobs,
            [&](std::size_t index, const ReductionOutcome& o) {
                ++done;
                timesNotKept += o.timeNotKept ? 1 : 0;
                ReportRow& row = rows[firstReduction + index];
                row = EndedRow(row, o);
                if (row.status == ReportRow::Status::Reduced) {
                    row.bytesAfter = FileBytes(row.output);
                }
                row.seconds = (clock.nsecsElapsed() - startedAt[index]) / 1e9;
                if (settings.json) {
                    PrintJson(RowJson(row));
                }
                if (showProgress) {
                    std::fprintf(stderr, "[%zu/%zu] %s\n", done, requests.size(),
                                 qPrintable(ShownPath(FileNameOf(requests[index].source))));
                }
            },
            [&](std::size_t index) { startedAt[index] = clock.nsecsElapsed(); });
    }
    encoder.reset();

    ReduceTotals totals = TotalsOf(rows);
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
    if (timesNotKept > 0) {
        // One line for the run: a target that does not keep times refuses
        // them for every file alike.
        std::fprintf(stderr,
                     "warning: --keep-time: the target did not keep the original's time of %d "
                     "result(s); they have the time the target gave them\n",
                     timesNotKept);
    }
    const ReportGroups groups = CommandLineGroups(rows);
    PrintLines("renamed", groups.renamed);
    PrintLines("note", groups.notes);
    PrintLines("larger", groups.larger);
    PrintLines("skipped", groups.skipped);
    PrintLines("failed", groups.failures);
    std::fprintf(settings.json ? stderr : stdout, "%s\n",
                 qPrintable(SummaryText(totals) +
                            LargerResultsTail(static_cast<int>(groups.larger.size()))));
    std::fflush(stdout);
    return groups.failures.empty() ? kExitOk : kExitSomeFailed;
}

}  // namespace mirelune::cli

#include "ReduceCommand.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "app/Failure.h"
#include "app/PathHelpers.h"
#include "filelist/FileDrop.h"
#include "filelist/HeadlessWindowLayer.h"
#include "mp3/BitrateText.h"
#include "mp3/MP3Info.h"
#include "reduce/EncoderCommand.h"
#include "reduce/EncoderCopy.h"
#include "reduce/EncoderResource.h"
#include "reduce/FileIdentity.h"
#include "reduce/OutputNames.h"
#include "reduce/OutputNaming.h"
#include "reduce/ReduceOptions.h"
#include "reduce/ReductionBatch.h"
#include "reduce/ReductionOutcome.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#include <QSocketNotifier>
#include <csignal>
#endif

namespace mirelune::cli {
namespace {

constexpr int kMaxJobs = 256;
// The shell's convention for a program ended by Ctrl+C.
constexpr int kExitInterrupted = 130;

#ifdef Q_OS_UNIX
// Ctrl+C, or a plain kill, ends the run through the event loop rather than
// on the spot, so running encoders are stopped and their temporary files and
// the encoder copy removed instead of left behind.
class StopOnSignal {
  public:
    StopOnSignal() {
        if (::pipe(fds_) != 0) {
            return;
        }
        writeEnd_ = fds_[1];
        notifier_ = std::make_unique<QSocketNotifier>(fds_[0], QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
            stopped_ = true;
            QCoreApplication::exit(kExitInterrupted);
        });
        struct sigaction action {};
        action.sa_handler = &StopOnSignal::Notify;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &oldInt_);
        sigaction(SIGTERM, &action, &oldTerm_);
    }
    ~StopOnSignal() {
        if (!notifier_) {
            return;
        }
        sigaction(SIGINT, &oldInt_, nullptr);
        sigaction(SIGTERM, &oldTerm_, nullptr);
        notifier_.reset();
        writeEnd_ = -1;
        ::close(fds_[0]);
        ::close(fds_[1]);
    }
    StopOnSignal(const StopOnSignal&) = delete;
    StopOnSignal& operator=(const StopOnSignal&) = delete;

    bool stopped() const { return stopped_; }

  private:
    static void Notify(int) {
        const char byte = 1;
        if (writeEnd_ >= 0) {
            [[maybe_unused]] const auto written = ::write(writeEnd_, &byte, 1);
        }
    }

    static inline volatile std::sig_atomic_t writeEnd_ = -1;
    int fds_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
    bool stopped_ = false;
};
#else
class StopOnSignal {
  public:
    bool stopped() const { return false; }
};
#endif

struct Settings {
    int kbps = 128;
    QString outputFolder;  // empty with --beside
    bool beside = false;
    int jobs = 1;
    bool keepTree = false;
    bool skipLower = false;
    bool dryRun = false;
    QStringList paths;
};

// A file found on the command line, and for --keep-tree the folder it sits in
// relative to the folder argument it came from.
struct Candidate {
    QString source;
    QString subFolder;
};

struct PlannedReduction {
    QString source;
    QString output;
    qint64 sourceBytes = 0;
};

// One line per file that is not reduced, printed in list order.
struct Note {
    QString path;
    QString text;
};

struct Plan {
    std::vector<PlannedReduction> reductions;
    std::vector<Note> skipped;
    std::vector<Note> failed;
};

int UsageError(const CommandArguments& args, const QString& message) {
    std::fprintf(stderr, "mirelune-cli reduce: %s\nTry '%s --help'.\n", qPrintable(message),
                 qPrintable(args.text.value(0)));
    return kExitUsage;
}

QString Absolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
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
    parser.addHelpOption();
    const QCommandLineOption bitrate(
        {QStringLiteral("b"), QStringLiteral("bitrate")},
        QStringLiteral("Target bitrate in kbps: 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, "
                       "224, 256 or 320 (default 128)."),
        QStringLiteral("KBPS"), QStringLiteral("128"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Save the results in folder DIR."),
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
    const QCommandLineOption dryRun(
        QStringLiteral("dry-run"),
        QStringLiteral("Print each source, its output and the encoder command; run nothing."));
    parser.addOptions({bitrate, output, beside, jobs, keepTree, skipLower, dryRun});
    parser.addPositionalArgument(QStringLiteral("PATH"),
                                 QStringLiteral("MP3 files, or folders to search."),
                                 QStringLiteral("PATH..."));
    if (!ParseOrExplain(parser, args)) {
        status = kExitUsage;
        return std::nullopt;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        status = kExitOk;
        return std::nullopt;
    }

    Settings settings;
    bool isNumber = false;
    settings.kbps = parser.value(bitrate).toInt(&isNumber);
    const std::vector<int> offered = OfferedBitrates();
    if (!isNumber || std::find(offered.begin(), offered.end(), settings.kbps) == offered.end()) {
        status = UsageError(args, QStringLiteral("-b %1 is not one of 32, 40, 48, 56, 64, 80, "
                                                 "96, 112, 128, 160, 192, 224, 256, 320")
                                      .arg(parser.value(bitrate)));
        return std::nullopt;
    }
    if (parser.isSet(output) == parser.isSet(beside)) {
        status = UsageError(args, QStringLiteral("give exactly one of -o DIR and --beside"));
        return std::nullopt;
    }
    settings.beside = parser.isSet(beside);
    if (!settings.beside) {
        settings.outputFolder = Absolute(parser.value(output));
        if (!IsFolder(settings.outputFolder)) {
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
    settings.keepTree = parser.isSet(keepTree);
    if (settings.keepTree && settings.beside) {
        status = UsageError(args, QStringLiteral("--keep-tree needs -o DIR"));
        return std::nullopt;
    }
    settings.skipLower = parser.isSet(skipLower);
    settings.dryRun = parser.isSet(dryRun);
    settings.paths = parser.positionalArguments();
    if (settings.paths.isEmpty()) {
        status = UsageError(args, QStringLiteral("no PATH given"));
        return std::nullopt;
    }
    return settings;
}

QString SubFolderOf(const QString& root, const QString& file) {
    const QString relative = QDir(root).relativeFilePath(QFileInfo(file).path());
    return relative == QStringLiteral(".") ? QString() : relative;
}

// A folder is searched as if it were dropped on the window's list: every
// file of its tree in the window's order, names starting with "~" left out.
// Folders that cannot be walked are reported on stderr.
std::vector<Candidate> CollectCandidates(const Settings& settings, Plan& plan) {
    std::vector<Candidate> candidates;
    HeadlessWindowLayer window;
    for (const QString& given : settings.paths) {
        const QString path = Absolute(given);
        if (IsFolder(path)) {
            for (const QString& file : CollectDroppedFiles({path}, window)) {
                candidates.push_back({file, SubFolderOf(path, file)});
            }
        } else if (QFileInfo::exists(path)) {
            candidates.push_back({path, QString()});
        } else {
            plan.failed.push_back({given, QStringLiteral("no such file or folder")});
        }
    }
    return candidates;
}

// Whether the file is an MP3 stream, and its bitrate in bits per second.
std::optional<qint32> Mp3Bitrate(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) {
        return std::nullopt;  // FIFOs and devices are never opened
    }
    try {
        mp3::MP3Info mp3;
        if (mp3.ReadMP3Info(QFile::encodeName(path).toStdString())) {
            return mp3.Bitrate();
        }
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

// Every name is decided here, in list order, before anything runs: running
// encoders side by side cannot change which file gets which name.
Plan MakePlan(const Settings& settings, const std::vector<Candidate>& candidates, Plan plan) {
    OutputNames names;
    for (const Candidate& c : candidates) {
        names.protectSource(c.source);
    }
    std::set<QString> seen;
    for (const Candidate& c : candidates) {
        const std::optional<QString> identity = FileIdentity(c.source);
        if (!seen.insert(identity.value_or(c.source)).second) {
            plan.skipped.push_back({c.source, QStringLiteral("listed more than once")});
            continue;
        }
        const std::optional<qint32> bitrate = Mp3Bitrate(c.source);
        if (!bitrate) {
            plan.skipped.push_back({c.source, QStringLiteral("not a valid MP3 file")});
            continue;
        }
        if (settings.skipLower && *bitrate <= settings.kbps * 1000) {
            plan.skipped.push_back(
                {c.source, QStringLiteral("already %1, at or below the target")
                               .arg(QString::fromStdString(mp3::BitrateText(*bitrate)))});
            continue;
        }
        QString folder = settings.beside ? FolderOf(c.source) : settings.outputFolder;
        if (settings.keepTree && !c.subFolder.isEmpty()) {
            folder += QChar(kPathSeparator) + c.subFolder;
        }
        const QString output = OutputPathFor(folder, c.source);
        if (output.isEmpty()) {
            plan.failed.push_back({c.source, reason::WouldOverwriteSource()});
            continue;
        }
        plan.reductions.push_back(
            {c.source, names.claim(c.source, output), QFileInfo(c.source).size()});
    }
    return plan;
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
        std::printf("%s → %s\n  %s\n", qPrintable(r.source), qPrintable(r.output),
                    qPrintable(EncoderCommandText(encoder, settings.kbps, r.source, r.output)));
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
    Plan plan;
    const std::vector<Candidate> candidates = CollectCandidates(settings, plan);
    plan = MakePlan(settings, candidates, std::move(plan));
    if (settings.dryRun) {
        return DryRun(settings, plan);
    }

    std::vector<ReductionRequest> requests;
    std::vector<Note> failed = plan.failed;
    std::unique_ptr<EncoderCopy> encoder;
    try {
        encoder = std::make_unique<EncoderCopy>(LoadEncoderBytes());
    } catch (const Failure& failure) {
        std::fprintf(stderr, "mirelune-cli reduce: %s\n", qPrintable(failure.text()));
    }
    for (const PlannedReduction& r : plan.reductions) {
        // --keep-tree folders are made only now that something will go in them.
        QDir().mkpath(QFileInfo(r.output).path());
        requests.push_back(
            {encoder ? encoder->path() : QString(), settings.kbps, r.source, r.output});
    }

    const bool showProgress = StderrIsTerminal();
    std::vector<ReductionOutcome> outcomes(requests.size());
    std::size_t done = 0;
    const StopOnSignal stop;
    RunReductions(requests, settings.jobs, [&](std::size_t index, const ReductionOutcome& o) {
        outcomes[index] = o;
        ++done;
        if (showProgress) {
            std::fprintf(stderr, "[%zu/%zu] %s\n", done, requests.size(),
                         qPrintable(FileNameOf(requests[index].source)));
        }
    });
    if (encoder) {
        encoder->remove();
    }
    if (stop.stopped()) {
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
        } else {
            failed.push_back({requests[i].source, outcomes[i].reason});
        }
    }
    PrintNotes("skipped", plan.skipped);
    PrintNotes("failed", failed);
    const double saved = before > 0 ? 100.0 * static_cast<double>(before - after) / before : 0.0;
    std::printf("reduced %zu, skipped %zu, failed %zu; %s → %s, %.1f%% saved\n", reduced,
                plan.skipped.size(), failed.size(), qPrintable(SizeText(before)),
                qPrintable(SizeText(after)), saved);
    std::fflush(stdout);
    return failed.empty() ? kExitOk : kExitSomeFailed;
}

}  // namespace mirelune::cli

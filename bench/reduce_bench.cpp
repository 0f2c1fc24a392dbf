// SPDX-License-Identifier: GPL-3.0-or-later
// The reduction side by side in one run, on a generated corpus: a bare
// sequential LAME loop (the floor), `mirelune-cli reduce -j 1`, the window's
// job driven headless, and `mirelune-cli reduce -j 2`.
//
//   reduce_bench MIRELUNE_CLI MAKE_TONE LAME [ROUNDS]
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <filesystem>
#include <fstream>
#include <functional>

#include "BenchSupport.h"
#include "reduce/ReduceJob.h"
#include "reduce/ReduceJobView.h"
#include "shell/WindowLayer.h"

namespace fs = std::filesystem;
using namespace mirelune::bench;

namespace {

constexpr int kFiles = 12;
constexpr int kSeconds = 30;

// Runs args with both output streams discarded; returns the wall time.
double RunSilently(const std::vector<std::string>& args) {
    const Measurement m = RunQuietly(args, true);
    if (m.exitCode != 0) {
        std::fprintf(stderr, "failed: %s\n", args[0].c_str());
        std::exit(1);
    }
    return m.seconds;
}

// Runs every command with at most `parallel` of them at once; returns the
// wall time. What the machine itself allows for side-by-side encoders.
double RunSideBySide(const std::vector<std::vector<std::string>>& commands, int parallel) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    std::size_t next = 0;
    int running = 0;
    while (next < commands.size() || running > 0) {
        while (running < parallel && next < commands.size()) {
            std::vector<char*> argv;
            for (const std::string& a : commands[next]) {
                argv.push_back(const_cast<char*>(a.c_str()));
            }
            argv.push_back(nullptr);
            pid_t pid = 0;
            if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
                std::fprintf(stderr, "failed: %s\n", argv[0]);
                std::exit(1);
            }
            ++next;
            ++running;
        }
        int status = 0;
        if (wait(&status) > 0) {
            --running;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The window's side of the job, without a window: every message is taken as
// read and yields just let the event loop run.
class HeadlessLayer : public mirelune::WindowLayer {
  public:
    QStringList messages;
    mirelune::MessageAnswer messageBox(const QString& text, const QString&,
                                       mirelune::MessageButtons, mirelune::MessageIcon) override {
        messages.append(text);
        return mirelune::MessageAnswer::Ok;
    }
    QString inputBox(const QString&, const QString&, const QString&) override { return {}; }
    QString browseForFolder(const QString&, const QString&) override { return {}; }
    QStringList openFiles(const QString&, const QString&) override { return {}; }
    bool openUrl(const QUrl&) override { return false; }
    void yieldToEvents() override { QCoreApplication::processEvents(); }
};

class HeadlessView : public mirelune::ReduceJobView {
  public:
    QStringList rows;
    mirelune::ReduceOptions chosen;
    HeadlessLayer layer;

    int rowCount() const override { return static_cast<int>(rows.size()); }
    QString rowText(int row) const override { return rows.at(row - 1); }
    mirelune::ReduceOptions options() const override { return chosen; }
    void setBusyPointer(bool) override {}
    void setOptionsEnabled(bool) override {}
    mirelune::WindowLayer& window() override { return layer; }
    int progressValue() const override { return value_; }
    void setProgressValue(int value) override { value_ = value; }
    QString progressText() const override { return text_; }
    void setProgressText(const QString& text) override { text_ = text; }

  private:
    int value_ = 0;
    QString text_;
};

void Empty(const fs::path& folder) {
    fs::remove_all(folder);
    fs::create_directories(folder);
}

std::vector<char> Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool SameResults(const fs::path& a, const fs::path& b, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        if (Slurp(a / name) != Slurp(b / name) || Slurp(a / name).empty()) {
            return false;
        }
    }
    return true;
}

const char* Verdict(double ratio, double target) {
    return ratio <= target ? "met" : "MISSED";
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: reduce_bench MIRELUNE_CLI MAKE_TONE LAME [ROUNDS]\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    const std::string cli = argv[1];
    const std::string lame = argv[3];
    const int rounds = argc > 4 ? std::max(1, std::atoi(argv[4])) : 3;
    const fs::path dir =
        fs::temp_directory_path() / ("mirelune-reduce-bench-" + std::to_string(getpid()));
    const fs::path sources = dir / "sources";
    fs::create_directories(sources);

    std::printf("making %d files of %d s, stereo, 256 kbps...\n", kFiles, kSeconds);
    std::fflush(stdout);
    std::vector<std::string> files;
    std::vector<std::string> names;
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = "tone" + std::to_string(i) + ".mp3";
        const fs::path wav = sources / "tone.wav";
        Shell(std::string(argv[2]) + " " + wav.string() + " " + std::to_string(kSeconds) +
              " 44100 2 " + std::to_string(220 + 37 * i) + " > /dev/null");
        Shell(lame + " --quiet -b 256 " + wav.string() + " " + (sources / name).string());
        fs::remove(wav);
        files.push_back((sources / name).string());
        names.push_back(name);
    }

    const fs::path bareOut = dir / "bare";
    const fs::path oneOut = dir / "j1";
    const fs::path jobOut = dir / "job";
    const fs::path twoOut = dir / "j2";
    const auto bare = [&] {
        Empty(bareOut);
        double seconds = 0;
        for (std::size_t i = 0; i < files.size(); ++i) {
            seconds += RunSilently(
                {lame, "-h", "-m", "s", "-b", "128", files[i], (bareOut / names[i]).string()});
        }
        return seconds;
    };
    const fs::path pairOut = dir / "pair";
    const auto barePair = [&] {
        Empty(pairOut);
        std::vector<std::vector<std::string>> commands;
        for (std::size_t i = 0; i < files.size(); ++i) {
            commands.push_back(
                {lame, "-h", "-m", "s", "-b", "128", files[i], (pairOut / names[i]).string()});
        }
        return RunSideBySide(commands, 2);
    };
    const auto reduce = [&](const fs::path& out, const char* jobs) {
        Empty(out);
        std::vector<std::string> args = {cli,  "reduce", "-j", jobs,
                                         "-b", "128",    "-o", out.string()};
        args.insert(args.end(), files.begin(), files.end());
        return RunSilently(args);
    };
    const auto job = [&] {
        Empty(jobOut);
        HeadlessView view;
        for (const std::string& f : files) {
            view.rows.append(QString::fromStdString(f));
        }
        view.chosen.entryText = QStringLiteral("Reduce to 128 kbps");
        view.chosen.option1 = true;
        view.chosen.outputFolder = QString::fromStdString(jobOut.string());
        mirelune::ReduceJob reduceJob;
        const auto start = std::chrono::steady_clock::now();
        reduceJob.run(view);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (view.layer.messages != QStringList{QStringLiteral("Done.")}) {
            std::fprintf(stderr, "the job said: %s\n", qPrintable(view.layer.messages.join('|')));
            std::exit(1);
        }
        return seconds;
    };

    std::vector<double> bareTimes, oneTimes, jobTimes, twoTimes, pairTimes;
    const std::vector<std::function<void()>> methods = {
        [&] { bareTimes.push_back(bare()); },     [&] { oneTimes.push_back(reduce(oneOut, "1")); },
        [&] { jobTimes.push_back(job()); },       [&] { twoTimes.push_back(reduce(twoOut, "2")); },
        [&] { pairTimes.push_back(barePair()); },
    };
    for (int round = 0; round < rounds; ++round) {
        std::printf("round %d of %d\n", round + 1, rounds);
        std::fflush(stdout);
        // Each round starts with another method, so a drift in the machine's
        // load does not always fall on the same one.
        for (std::size_t m = 0; m < methods.size(); ++m) {
            methods[(m + static_cast<std::size_t>(round)) % methods.size()]();
        }
    }
    const bool identical = SameResults(bareOut, oneOut, names) &&
                           SameResults(bareOut, jobOut, names) &&
                           SameResults(bareOut, twoOut, names);
    if (std::getenv("MIRELUNE_BENCH_KEEP") == nullptr) {
        fs::remove_all(dir);
    } else {
        std::printf("corpus kept in %s\n", dir.string().c_str());
    }

    const double floor = Median(bareTimes);
    const double best = *std::min_element(bareTimes.begin(), bareTimes.end());
    const auto line = [&](const char* name, const std::vector<double>& times, double target) {
        const double ratio = Median(times) / floor;
        const double bestRatio = *std::min_element(times.begin(), times.end()) / best;
        std::printf("%-24s %7.2f s   ratio %.3f (best of rounds %.3f)", name, Median(times), ratio,
                    bestRatio);
        if (target > 0) {
            std::printf("   target <= %.2f  %s", target, Verdict(ratio, target));
        }
        std::printf("\n");
    };
    std::printf("files: %d x %d s stereo at 256 kbps -> 128 kbps; median of %d rounds\n", kFiles,
                kSeconds, rounds);
    std::printf("%-24s %7.2f s\n", "bare lame loop:", floor);
    line("reduce -j 1:", oneTimes, 1.03);
    line("window job (headless):", jobTimes, 1.05);
    line("reduce -j 2:", twoTimes, 0.55);
    line("two bare lame at once:", pairTimes, 0);
    std::printf("(the last line is what this machine allows side by side, for reference)\n");
    std::printf("results byte-identical to the bare loop's: %s\n", identical ? "yes" : "NO");
    return identical ? 0 : 1;
}

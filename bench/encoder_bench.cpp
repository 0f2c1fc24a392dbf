// SPDX-License-Identifier: GPL-3.0-or-later
// Our encoder against Debian's lame on the same files, in alternating runs:
// the user CPU time ratio per file against the target, and whether both wrote
// the same bytes. User time rather than wall time: on a shared machine it
// moves far less with the load of other programs.
//
//   encoder_bench MIRELUNE_ENCODER MAKE_TONE MAKE_SAMPLE LAME [ROUNDS]
#include <filesystem>
#include <fstream>
#include <iterator>

#include "BenchSupport.h"

namespace fs = std::filesystem;
using namespace mirelune::bench;

namespace {

constexpr double kTarget = 0.80;

struct Source {
    const char* name;
    int seconds;
    int rate;
    int channels;
    const char* encoding;
    // Runs per measurement, so a short file's few milliseconds add up to a
    // time the kernel's clock can tell apart.
    int repeats;
};

// Long and short, stereo and mono, in the shapes users bring (CBR and VBR,
// 44.1 and 48 kHz).
const Source kSources[] = {
    {"stereo-long.mp3", 60, 44100, 2, "-b 256", 1},
    {"mono-long.mp3", 60, 44100, 1, "-b 128 -m m", 1},
    {"stereo-short.mp3", 4, 48000, 2, "-V 2", 10},
    {"mono-short.mp3", 4, 44100, 1, "-b 96 -m m", 10},
};

std::vector<char> Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

double UserSeconds(const std::vector<std::string>& args, int repeats) {
    double total = 0;
    for (int i = 0; i < repeats; ++i) {
        const Measurement m = RunQuietly(args, true);
        if (m.exitCode != 0) {
            std::fprintf(stderr, "failed: %s on %s\n", args[0].c_str(),
                         args[args.size() - 2].c_str());
            std::exit(1);
        }
        total += m.userSeconds;
    }
    return total;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 5) {
        std::fprintf(stderr,
                     "usage: encoder_bench MIRELUNE_ENCODER MAKE_TONE MAKE_SAMPLE LAME [ROUNDS]\n");
        return 2;
    }
    const std::string ours = argv[1];
    const std::string lame = argv[4];
    const int rounds = argc > 5 ? std::max(1, std::atoi(argv[5])) : 5;
    const fs::path dir =
        fs::temp_directory_path() / ("mirelune-encoder-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);

    std::printf("making %zu files...\n", std::size(kSources));
    std::fflush(stdout);
    int frequency = 220;
    for (const Source& s : kSources) {
        const fs::path wav = dir / "tone.wav";
        Shell(std::string(argv[2]) + " " + wav.string() + " " + std::to_string(s.seconds) + " " +
              std::to_string(s.rate) + " " + std::to_string(s.channels) + " " +
              std::to_string(frequency += 110));
        Shell(std::string(argv[3]) + " --quiet " + s.encoding + " " + wav.string() + " " +
              (dir / s.name).string());
        fs::remove(wav);
    }

    // Each file's user time per round, for both programs.
    std::vector<std::vector<double>> ourTimes(std::size(kSources));
    std::vector<std::vector<double>> lameTimes(std::size(kSources));
    bool identical = true;
    for (int round = 0; round < rounds; ++round) {
        for (size_t i = 0; i < std::size(kSources); ++i) {
            const Source& s = kSources[i];
            const std::string source = (dir / s.name).string();
            const std::string ourOut = (dir / ("ours-" + std::string(s.name))).string();
            const std::string lameOut = (dir / ("lame-" + std::string(s.name))).string();
            const std::vector<std::string> ourRun = {ours, "-h",  "-m",   "s",
                                                     "-b", "128", source, ourOut};
            const std::vector<std::string> lameRun = {lame, "-h",  "-m",   "s",
                                                      "-b", "128", source, lameOut};
            // Who goes first alternates, so a drift in the machine's load
            // falls on both alike.
            if (round % 2 == 0) {
                ourTimes[i].push_back(UserSeconds(ourRun, s.repeats));
                lameTimes[i].push_back(UserSeconds(lameRun, s.repeats));
            } else {
                lameTimes[i].push_back(UserSeconds(lameRun, s.repeats));
                ourTimes[i].push_back(UserSeconds(ourRun, s.repeats));
            }
            identical = identical && Slurp(ourOut) == Slurp(lameOut);
        }
        std::printf("round %d of %d done\n", round + 1, rounds);
        std::fflush(stdout);
    }
    fs::remove_all(dir);

    std::printf("-> 128 kbps (-h -m s), user CPU time, median of %d rounds, target <= %.2f\n",
                rounds, kTarget);
    bool allMet = true;
    for (size_t i = 0; i < std::size(kSources); ++i) {
        const Source& s = kSources[i];
        const double ourSeconds = Median(ourTimes[i]);
        const double lameSeconds = Median(lameTimes[i]);
        const double ratio = ourSeconds / lameSeconds;
        allMet = allMet && ratio <= kTarget;
        std::printf("%-17s %2d s x%-2d  lame %7.3f s  mirelune-encoder %7.3f s  ratio %.3f  %s\n",
                    s.name, s.seconds, s.repeats, lameSeconds, ourSeconds, ratio,
                    ratio <= kTarget ? "met" : "MISSED");
    }
    std::printf("target for every file: %s\n", allMet ? "met" : "MISSED");
    std::printf("results byte-identical to lame's: %s\n", identical ? "yes" : "NO");
    return identical ? 0 : 1;
}

// Our encoder against Debian's lame on the same files, in alternating runs:
// the time ratio against the target, and whether both wrote the same bytes.
//
//   encoder_bench MIRELUNE_ENCODER MAKE_TONE MAKE_SAMPLE LAME [ROUNDS]
#include <filesystem>
#include <fstream>
#include <iterator>

#include "BenchSupport.h"

namespace fs = std::filesystem;
using namespace mirelune::bench;

namespace {

constexpr double kTarget = 1.02;
constexpr int kSeconds = 45;

struct Source {
    const char* name;
    int rate;
    int channels;
    const char* encoding;
};

// The shapes users bring: CBR and VBR, stereo and mono, 44.1 and 48 kHz.
const Source kSources[] = {
    {"stereo-256.mp3", 44100, 2, "-b 256"},
    {"stereo-vbr.mp3", 44100, 2, "-V 2"},
    {"stereo-48k.mp3", 48000, 2, "-b 192 -m j"},
    {"mono-128.mp3", 44100, 1, "-b 128 -m m"},
};

std::vector<char> Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

double Timed(const std::vector<std::string>& args) {
    const Measurement m = RunQuietly(args, true);
    if (m.exitCode != 0) {
        std::fprintf(stderr, "failed: %s on %s\n", args[0].c_str(), args[args.size() - 2].c_str());
        std::exit(1);
    }
    return m.seconds;
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

    std::printf("making %zu files of %d s...\n", std::size(kSources), kSeconds);
    std::fflush(stdout);
    int frequency = 220;
    for (const Source& s : kSources) {
        const fs::path wav = dir / "tone.wav";
        Shell(std::string(argv[2]) + " " + wav.string() + " " + std::to_string(kSeconds) + " " +
              std::to_string(s.rate) + " " + std::to_string(s.channels) + " " +
              std::to_string(frequency += 110));
        Shell(std::string(argv[3]) + " " + s.encoding + " " + wav.string() + " " +
              (dir / s.name).string());
        fs::remove(wav);
    }

    // Round totals of each program, and the ratio of every pair of runs.
    std::vector<double> ourRounds, lameRounds, pairRatios;
    bool identical = true;
    for (int round = 0; round < rounds; ++round) {
        double ourTotal = 0;
        double lameTotal = 0;
        for (const Source& s : kSources) {
            const std::string source = (dir / s.name).string();
            const std::string ourOut = (dir / ("ours-" + std::string(s.name))).string();
            const std::string lameOut = (dir / ("lame-" + std::string(s.name))).string();
            const std::vector<std::string> ourRun = {ours, "-h",  "-m",   "s",
                                                     "-b", "128", source, ourOut};
            const std::vector<std::string> lameRun = {lame, "-h",  "-m",   "s",
                                                      "-b", "128", source, lameOut};
            // Who goes first alternates, so a drift in the machine's load
            // falls on both alike.
            double ourSeconds = 0;
            double lameSeconds = 0;
            if (round % 2 == 0) {
                ourSeconds = Timed(ourRun);
                lameSeconds = Timed(lameRun);
            } else {
                lameSeconds = Timed(lameRun);
                ourSeconds = Timed(ourRun);
            }
            ourTotal += ourSeconds;
            lameTotal += lameSeconds;
            pairRatios.push_back(ourSeconds / lameSeconds);
            identical = identical && Slurp(ourOut) == Slurp(lameOut);
        }
        ourRounds.push_back(ourTotal);
        lameRounds.push_back(lameTotal);
        std::printf("round %d of %d: ours %.3f s, lame %.3f s\n", round + 1, rounds, ourTotal,
                    lameTotal);
        std::fflush(stdout);
    }
    fs::remove_all(dir);

    const double ratio = Median(ourRounds) / Median(lameRounds);
    std::printf("%zu files x %d s -> 128 kbps (-h -m s), median of %d rounds\n",
                std::size(kSources), kSeconds, rounds);
    std::printf("lame:             %7.3f s\n", Median(lameRounds));
    std::printf(
        "mirelune-encoder: %7.3f s   ratio %.3f (median of pairs %.3f)   target <= %.2f  %s\n",
        Median(ourRounds), ratio, Median(pairRatios), kTarget, ratio <= kTarget ? "met" : "MISSED");
    std::printf("results byte-identical to lame's: %s\n", identical ? "yes" : "NO");
    return identical ? 0 : 1;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The encoder's peak memory on a 10-minute and a 2-hour source, beside
// Debian's lame on the same files where it is given: the peak must not grow
// with the audio's length. The peak is read from /proc while each program
// runs, every 20 ms.
//
//   encoder_memory_bench MIRELUNE_ENCODER MAKE_TONE MAKE_SAMPLE [LAME]
#include <filesystem>
#include <fstream>
#include <iterator>

#include "BenchSupport.h"

namespace fs = std::filesystem;
using namespace mirelune::bench;

namespace {

constexpr long kTargetKb = 16 * 1024;
// Growth from 10 minutes to 2 hours that still counts as none: the
// allocator's and the kernel's noise.
constexpr double kGrowthTarget = 1.10;
constexpr int kPieceSeconds = 10;

struct Length {
    const char* name;
    int pieces;  // of kPieceSeconds each
};

const Length kLengths[] = {{"10 min", 60}, {"2 h", 720}};

// A long source is the frames of a short one, without header frame or tags,
// over and over: every frame starts with an empty bit reservoir, so the joins
// decode cleanly.
void WriteRepeated(const fs::path& piece, const fs::path& to, int times) {
    std::ifstream in(piece, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::ofstream out(to, std::ios::binary);
    for (int i = 0; i < times; ++i) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
}

// The high-water mark of the program's resident memory, from its status in
// /proc while it runs. The rusage of a child would not do: Linux counts in
// it the memory of the process that started it, as it was before exec, and
// this benchmark's own exceeds a small encoder's.
long HighWaterKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return 0;
}

long PeakKb(const std::vector<std::string>& args) {
    const pid_t pid = SpawnQuietly(args, true);
    if (pid == 0) {
        std::fprintf(stderr, "cannot start %s\n", args[0].c_str());
        std::exit(1);
    }
    // The mark only rises; read until the program has gone, the last time
    // just before it is reaped.
    long peak = 0;
    siginfo_t info{};
    for (;;) {
        peak = std::max(peak, HighWaterKb(pid));
        info.si_pid = 0;
        if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
            info.si_pid == pid) {
            break;
        }
        usleep(20000);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "failed: %s on %s\n", args[0].c_str(), args[args.size() - 2].c_str());
        std::exit(1);
    }
    return peak;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: encoder_memory_bench MIRELUNE_ENCODER MAKE_TONE MAKE_SAMPLE [LAME]\n");
        return 2;
    }
    const std::string ours = argv[1];
    const std::string lame = argc > 4 ? argv[4] : "";
    const fs::path dir =
        fs::temp_directory_path() / ("mirelune-encoder-memory-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path wav = dir / "tone.wav";
    const fs::path piece = dir / "piece.mp3";
    Shell(std::string(argv[2]) + " " + wav.string() + " " + std::to_string(kPieceSeconds) +
          " 44100 2");
    Shell(std::string(argv[3]) + " -b 192 -t " + wav.string() + " " + piece.string());

    long peaks[std::size(kLengths)] = {};
    for (std::size_t k = 0; k < std::size(kLengths); ++k) {
        const Length& length = kLengths[k];
        const fs::path source = dir / "source.mp3";
        WriteRepeated(piece, source, length.pieces);
        const std::string out = (dir / "out.mp3").string();
        std::printf("%-7s source %6.1f MB:", length.name, fs::file_size(source) / 1048576.0);
        std::fflush(stdout);
        peaks[k] = PeakKb({ours, "-h", "-m", "s", "-b", "128", source.string(), out});
        std::printf("  mirelune-encoder %6.1f MB (target < %ld MB  %s)", peaks[k] / 1024.0,
                    kTargetKb / 1024, peaks[k] < kTargetKb ? "met" : "MISSED");
        if (!lame.empty()) {
            const long lamePeak =
                PeakKb({lame, "--quiet", "-h", "-m", "s", "-b", "128", source.string(), out});
            std::printf("  lame %6.1f MB  ratio %.2f", lamePeak / 1024.0,
                        static_cast<double>(peaks[k]) / static_cast<double>(lamePeak));
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    fs::remove_all(dir);

    const double growth = static_cast<double>(peaks[1]) / static_cast<double>(peaks[0]);
    std::printf("peak at 2 h / peak at 10 min: %.3f   target <= %.2f  %s\n", growth, kGrowthTarget,
                growth <= kGrowthTarget ? "met" : "MISSED");
    return 0;
}

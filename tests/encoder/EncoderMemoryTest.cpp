// SPDX-License-Identifier: GPL-3.0-or-later
// The encoder's peak resident memory must not grow with the length of its
// source: it encodes a 2-minute and a 20-minute source made of the same
// frames, and the peaks may differ by the allocator's noise only. With a
// limit given, neither peak may pass it.
//
//   encoder_memory_test ENCODER MAKE_TONE MAKE_SAMPLE [LIMIT_KB]
//
// The peak is the encoder's ru_maxrss from wait4. Linux counts in it the
// memory the process had before exec, so a run of --version gives the floor
// under which an encode's peak cannot be told.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/ScratchDir.h"

namespace {

constexpr int kPieceSeconds = 10;
constexpr int kShortPieces = 12;
constexpr int kLongPieces = 120;
// What the peak may grow from the short source to the long one: the
// allocator's and the kernel's noise. Reading the long source whole would
// add 19 MB.
constexpr long kGrowthKb = 1024;

// Runs args and gives its peak resident memory in KiB.
long PeakKb(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    // fork, not vfork: the child's copy holds only this program's own
    // pages until exec, while a vfork child would count all of them.
    const pid_t pid = fork();
    if (pid < 0) {
        throw std::runtime_error("cannot start " + args[0]);
    }
    if (pid == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    struct rusage usage {};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error(args[0] + " failed");
    }
    return usage.ru_maxrss;
}

// The frames of one source, over and over. Each frame of a source made with
// -t starts with an empty bit reservoir, so the joins decode cleanly.
void WriteRepeated(const std::string& piece, const std::string& to, int times) {
    const std::vector<std::uint8_t> bytes = mirelune::test::ReadAll(piece);
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    for (int i = 0; i < times; ++i) {
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + to);
    }
}

}  // namespace

int Run(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: encoder_memory_test ENCODER MAKE_TONE MAKE_SAMPLE [LIMIT_KB]\n");
        return 2;
    }
    const std::string encoder = argv[1];
    const long limitKb = argc > 4 ? std::atol(argv[4]) : 0;
    const mirelune::test::ScratchDir dir;
    const std::string wav = dir.file("tone.wav");
    const std::string piece = dir.file("piece.mp3");
    PeakKb({argv[2], wav, std::to_string(kPieceSeconds), "44100", "2"});
    PeakKb({argv[3], "-b", "128", "-t", wav, piece});

    const long floorKb = PeakKb({encoder, "--version"});
    long peaks[2] = {};
    const int pieces[2] = {kShortPieces, kLongPieces};
    for (int k = 0; k < 2; ++k) {
        const std::string source = dir.file("source.mp3");
        WriteRepeated(piece, source, pieces[k]);
        peaks[k] = PeakKb({encoder, "-h", "-m", "s", "-b", "96", source, dir.file("out.mp3")});
        std::printf("%d s of audio (%ju bytes): peak %ld KiB\n", pieces[k] * kPieceSeconds,
                    static_cast<std::uintmax_t>(std::filesystem::file_size(source)), peaks[k]);
        if (peaks[k] <= floorKb) {
            std::printf("FAILED: an encode's peak is no more than --version's, %ld KiB\n", floorKb);
            return 1;
        }
    }
    bool ok = true;
    if (peaks[1] > peaks[0] + kGrowthKb) {
        std::printf("FAILED: the peak grew by %ld KiB with the audio's length (at most %ld)\n",
                    peaks[1] - peaks[0], kGrowthKb);
        ok = false;
    }
    for (const long peak : peaks) {
        if (limitKb > 0 && peak > limitKb) {
            std::printf("FAILED: a peak of %ld KiB passes the limit of %ld KiB\n", peak, limitKb);
            ok = false;
        }
    }
    return ok ? 0 : 1;
}

int main(int argc, char* argv[]) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& error) {
        std::printf("FAILED: %s\n", error.what());
        return 1;
    }
}

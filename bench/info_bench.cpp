// SPDX-License-Identifier: GPL-3.0-or-later
// mirelune-cli info --json against a floor reader on a generated corpus, side
// by side in one run, on a warm cache.
//
//   info_bench MIRELUNE_CLI FLOOR_READER MAKE_TONE LAME [FILES]
#include <filesystem>
#include <fstream>
#include <random>

#include "BenchSupport.h"

namespace fs = std::filesystem;
using namespace mirelune::bench;

namespace {

std::vector<char> Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An ID3v2.3 tag whose body is size bytes of a stand-in picture.
std::vector<char> Id3v2Tag(std::size_t size, std::mt19937& random) {
    std::vector<char> tag = {'I', 'D', '3', 3, 0, 0};
    tag.push_back(static_cast<char>((size >> 21) & 0x7F));
    tag.push_back(static_cast<char>((size >> 14) & 0x7F));
    tag.push_back(static_cast<char>((size >> 7) & 0x7F));
    tag.push_back(static_cast<char>(size & 0x7F));
    for (std::size_t i = 0; i < size; ++i) {
        tag.push_back(static_cast<char>(random() & 0x7F));
    }
    return tag;
}

std::vector<std::string> MakeCorpus(const fs::path& dir, const std::string& makeTone,
                                    const std::string& lame, int count) {
    fs::create_directories(dir);
    const fs::path wav = dir / "tone.wav";
    Shell(makeTone + " " + wav.string() + " 20 44100 2 > /dev/null");
    const char* encodings[] = {"-b 128", "-b 192 -m j", "-V 4", "-b 64 -m m --resample 22.05"};
    std::vector<std::vector<char>> seeds;
    for (int i = 0; i < 4; ++i) {
        const fs::path mp3 = dir / ("seed" + std::to_string(i) + ".mp3");
        Shell(lame + " --quiet " + encodings[i] + " " + wav.string() + " " + mp3.string());
        seeds.push_back(Slurp(mp3));
    }

    std::mt19937 random(12345);
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i) {
        const fs::path path = dir / ("file" + std::to_string(i) + (i % 10 == 9 ? ".dat" : ".mp3"));
        std::ofstream out(path, std::ios::binary);
        if (i % 10 == 9) {
            // Not MP3 at all: the analysis searches its whole window in vain.
            std::vector<char> junk(40000);
            for (char& c : junk) {
                c = static_cast<char>(random() & 0x7F);
            }
            out.write(junk.data(), static_cast<std::streamsize>(junk.size()));
        } else {
            if (i % 5 == 0) {
                const auto tag = Id3v2Tag(20000 + (random() % 200000), random);
                out.write(tag.data(), static_cast<std::streamsize>(tag.size()));
            }
            const auto& seed = seeds[static_cast<std::size_t>(i) % seeds.size()];
            out.write(seed.data(), static_cast<std::streamsize>(seed.size()));
        }
        files.push_back(path.string());
    }
    return files;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 5) {
        std::fprintf(stderr,
                     "usage: info_bench MIRELUNE_CLI FLOOR_READER MAKE_TONE LAME [FILES]\n");
        return 2;
    }
    const std::string cli = argv[1];
    const std::string floor = argv[2];
    const int count = argc > 5 ? std::atoi(argv[5]) : 3000;
    const fs::path dir =
        fs::temp_directory_path() / ("mirelune-info-bench-" + std::to_string(getpid()));
    const auto files = MakeCorpus(dir, argv[3], argv[4], count);

    std::vector<std::string> cliArgs = {cli, "info", "--json"};
    cliArgs.insert(cliArgs.end(), files.begin(), files.end());
    std::vector<std::string> floorArgs = {floor};
    floorArgs.insert(floorArgs.end(), files.begin(), files.end());
    std::vector<std::string> smallArgs(cliArgs.begin(), cliArgs.begin() + 3 + count / 10);

    RunQuietly(floorArgs);  // warm the cache
    RunQuietly(cliArgs);
    std::vector<double> ours, floors;
    long peakKb = 0;
    for (int round = 0; round < 7; ++round) {
        floors.push_back(RunQuietly(floorArgs).seconds);
        const Measurement m = RunQuietly(cliArgs);
        ours.push_back(m.seconds);
        peakKb = std::max(peakKb, m.peakKb);
    }
    const long smallPeakKb = RunQuietly(smallArgs).peakKb;
    if (std::getenv("MIRELUNE_BENCH_KEEP") == nullptr) {
        fs::remove_all(dir);
    } else {
        std::printf("corpus kept in %s\n", dir.string().c_str());
    }

    const double oursS = Median(ours);
    const double floorS = Median(floors);
    const double ratio = oursS / floorS;
    std::printf("files: %d (10%% not MP3, 18%% with a 20-220 KB ID3v2 tag)\n", count);
    std::printf("floor reader:            %8.1f ms  %9.0f files/s\n", floorS * 1000,
                count / floorS);
    std::printf("mirelune-cli info --json %8.1f ms  %9.0f files/s\n", oursS * 1000, count / oursS);
    std::printf("ratio (ours / floor):    %8.2f   target <= 1.50  %s\n", ratio,
                ratio <= 1.5 ? "met" : "MISSED");
    std::printf("peak memory: %.1f MB for %d files, %.1f MB for %d files   target < 30 MB  %s\n",
                peakKb / 1024.0, count, smallPeakKb / 1024.0, count / 10,
                peakKb < 30 * 1024 ? "met" : "MISSED");
    return 0;
}

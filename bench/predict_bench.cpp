// SPDX-License-Identifier: GPL-3.0-or-later
// Predicting the result sizes of 20,000 rows against `mirelune-cli info
// --json` over the same files, side by side in one run, on a warm cache.
//
//   predict_bench MIRELUNE_CLI MAKE_TONE MAKE_SAMPLE [ROWS]
#include <filesystem>
#include <fstream>
#include <random>

#include "BenchSupport.h"
#include "encoder/ResultSize.h"
#include "encoder/SourceFile.h"

namespace fs = std::filesystem;
using namespace mirelune::bench;
using mirelune::encoder::SourceFacts;

namespace {

constexpr int kDistinctFiles = 500;
constexpr int kOfferedKbps[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};

std::vector<char> Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<char> Id3v2Tag(std::size_t size) {
    std::vector<char> tag = {'I', 'D', '3', 3, 0, 0};
    for (const int shift : {21, 14, 7, 0}) {
        tag.push_back(static_cast<char>((size >> shift) & 0x7F));
    }
    tag.resize(tag.size() + size, 0);
    return tag;
}

// kDistinctFiles files from a few seeds, some with an ID3v2 tag in front and
// an ID3v1 tag behind, each listed rows / kDistinctFiles times under other
// names (hard links), so the corpus stays small on disk.
std::vector<std::string> MakeCorpus(const fs::path& dir, const std::string& makeTone,
                                    const std::string& makeSample, int rows) {
    fs::create_directories(dir);
    const fs::path wav = dir / "tone.wav";
    Shell(makeTone + " " + wav.string() + " 3 44100 2 > /dev/null");
    const char* encodings[] = {"-b 128", "-b 192 -m j", "-V 4", "-b 64 -m m --resample 22.05",
                               "-b 128 -t"};
    std::vector<std::vector<char>> seeds;
    for (const char* encoding : encodings) {
        const fs::path mp3 = dir / "seed.mp3";
        Shell(makeSample + " --quiet " + encoding + " " + wav.string() + " " + mp3.string());
        seeds.push_back(Slurp(mp3));
    }
    std::mt19937 random(12345);
    std::vector<std::string> distinct;
    for (int i = 0; i < kDistinctFiles; ++i) {
        const fs::path path = dir / ("file" + std::to_string(i) + ".mp3");
        std::ofstream out(path, std::ios::binary);
        if (i % 5 == 0) {
            const auto tag = Id3v2Tag(20000 + random() % 200000);
            out.write(tag.data(), static_cast<std::streamsize>(tag.size()));
        }
        const auto& seed = seeds[static_cast<std::size_t>(i) % seeds.size()];
        out.write(seed.data(), static_cast<std::streamsize>(seed.size()));
        if (i % 3 == 0) {
            std::vector<char> id3v1(128, 0);
            id3v1[0] = 'T', id3v1[1] = 'A', id3v1[2] = 'G';
            out.write(id3v1.data(), 128);
        }
        distinct.push_back(path.string());
    }
    std::vector<std::string> files;
    for (int i = 0; i < rows; ++i) {
        const std::string& target = distinct[static_cast<std::size_t>(i % kDistinctFiles)];
        if (i < kDistinctFiles) {
            files.push_back(target);
            continue;
        }
        const fs::path link = dir / ("row" + std::to_string(i) + ".mp3");
        fs::create_hard_link(target, link);
        files.push_back(link.string());
    }
    return files;
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: predict_bench MIRELUNE_CLI MAKE_TONE MAKE_SAMPLE [ROWS]\n");
        return 2;
    }
    const int rows = argc > 4 ? std::atoi(argv[4]) : 20000;
    const fs::path dir =
        fs::temp_directory_path() / ("mirelune-predict-bench-" + std::to_string(getpid()));
    const auto files = MakeCorpus(dir, argv[2], argv[3], rows);
    std::vector<std::string> cliArgs = {argv[1], "info", "--json"};
    cliArgs.insert(cliArgs.end(), files.begin(), files.end());

    RunQuietly(cliArgs);  // warm the cache
    std::vector<SourceFacts> facts;
    std::vector<double> infos, reads, predictions, everyBitrate;
    std::uint64_t total = 0;
    for (int round = 0; round < 5; ++round) {
        infos.push_back(RunQuietly(cliArgs).seconds);

        auto start = std::chrono::steady_clock::now();
        facts.clear();
        for (const std::string& file : files) {
            facts.push_back(
                mirelune::encoder::ReadSourceFacts(mirelune::encoder::SourceFile(file)));
        }
        reads.push_back(Seconds(start));

        start = std::chrono::steady_clock::now();
        for (const SourceFacts& f : facts) {
            total += mirelune::encoder::PredictResultSize(f, 128, true)->bytes;
        }
        predictions.push_back(Seconds(start));

        start = std::chrono::steady_clock::now();
        for (const SourceFacts& f : facts) {
            for (const int kbps : kOfferedKbps) {
                total += mirelune::encoder::PredictResultSize(f, kbps, true)->bytes;
            }
        }
        everyBitrate.push_back(Seconds(start));
    }
    fs::remove_all(dir);

    const double info = Median(infos);
    const double predict = Median(predictions);
    const double all = Median(everyBitrate);
    const double read = Median(reads);
    std::printf("rows: %d (%d distinct files, 20%% with a 20-220 KB ID3v2 tag; checksum %llu)\n",
                rows, kDistinctFiles, static_cast<unsigned long long>(total % 1000));
    std::printf("mirelune-cli info --json          %9.2f ms\n", info * 1000);
    std::printf("prediction at one bitrate         %9.2f ms  ratio %.4f  target < 0.02  %s\n",
                predict * 1000, predict / info, predict / info < 0.02 ? "met" : "MISSED");
    std::printf("prediction at all 14 bitrates     %9.2f ms  ratio %.4f\n", all * 1000, all / info);
    std::printf(
        "reading the facts (tags, 1st frame) %7.2f ms  ratio %.4f  (not yet from the "
        "analysis)\n",
        read * 1000, read / info);
    return 0;
}

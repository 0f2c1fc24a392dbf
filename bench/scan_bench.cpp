// SPDX-License-Identifier: GPL-3.0-or-later
// The folder scan as the window runs it -- walk, listing, analysis, rows added
// to the file list with a list view attached -- against `mirelune-cli info`
// over the same files listed by `find`, side by side in one run, on a warm
// cache; then the same scan down chains of 200 and of 800 nested folders,
// whose times must grow with the folders, not with the depth.
//
//   scan_bench MIRELUNE_CLI MAKE_TONE LAME [FILES] [FOLDERS]
#include <QApplication>
#include <QTemporaryDir>
#include <QTreeView>
#include <filesystem>
#include <fstream>
#include <random>

#include "BenchSupport.h"
#include "app/QtWindowLayer.h"
#include "filelist/FileList.h"
#include "filelist/FileListFiller.h"
#include "filelist/FolderScan.h"
#include "filelist/RefusedFiles.h"
#include "mp3/MP3Info.h"
#include "shell/SettingsStore.h"

namespace fs = std::filesystem;
using namespace mirelune;
using namespace mirelune::bench;

namespace {

std::vector<char> Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(const fs::path& path, const std::vector<char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

struct Corpus {
    int mp3Files = 0;
    int otherFiles = 0;
    int folders = 0;
};

// Artists holding albums, files spread evenly; every tenth file is a picture,
// a playlist or a text instead of an MP3.
Corpus MakeCorpus(const fs::path& root, const std::string& makeTone, const std::string& lame,
                  int files, int folders) {
    fs::create_directories(root);
    const fs::path wav = root / "tone.wav";
    Shell(makeTone + " " + wav.string() + " 6 44100 2 > /dev/null");
    const char* encodings[] = {"-b 128", "-b 192 -m j --tt Title --ta Artist", "-V 4",
                               "-b 64 -m m --resample 22.05"};
    std::vector<std::vector<char>> seeds;
    for (int i = 0; i < 4; ++i) {
        const fs::path mp3 = root / ("seed" + std::to_string(i) + ".mp3");
        Shell(lame + " --quiet " + encodings[i] + " " + wav.string() + " " + mp3.string());
        seeds.push_back(Slurp(mp3));
        fs::remove(mp3);
    }
    fs::remove(wav);

    std::mt19937 random(2016);
    std::vector<char> picture(30000);
    for (char& c : picture) {
        c = static_cast<char>(random());
    }
    const std::vector<char> playlist(400, '#');

    const int artists = std::max(1, folders / 20);
    const int albumsPerArtist = std::max(1, folders / artists - 1);
    std::vector<fs::path> leaves;
    for (int a = 0; a < artists; ++a) {
        const fs::path artist = root / ("Artist " + std::to_string(a));
        leaves.push_back(artist);
        for (int b = 0; b < albumsPerArtist; ++b) {
            leaves.push_back(artist / ("Album " + std::to_string(b)));
        }
    }
    Corpus corpus;
    corpus.folders = static_cast<int>(leaves.size()) + 1;
    for (const fs::path& leaf : leaves) {
        fs::create_directories(leaf);
    }
    for (int i = 0; i < files; ++i) {
        const fs::path& folder = leaves[static_cast<std::size_t>(i) % leaves.size()];
        if (i % 10 == 9) {
            const int kind = (i / 10) % 3;
            const char* names[] = {"cover", "playlist", "notes"};
            const char* extensions[] = {".jpg", ".m3u", ".txt"};
            Write(folder / (names[kind] + std::to_string(i) + extensions[kind]),
                  kind == 0 ? picture : playlist);
            ++corpus.otherFiles;
        } else {
            Write(folder / ("Track " + std::to_string(i) + ".mp3"), seeds[i % seeds.size()]);
            ++corpus.mp3Files;
        }
    }
    return corpus;
}

// The real dialogs' layer with the questions answered and message boxes
// counted instead of shown.
class ScriptedWindowLayer : public QtWindowLayer {
  public:
    ScriptedWindowLayer(QString extension, QString folder)
        : extension_(std::move(extension)), folder_(std::move(folder)) {}

    MessageAnswer messageBox(const QString&, const QString&, MessageButtons, MessageIcon) override {
        ++boxes;
        return MessageAnswer::Ok;
    }
    QString inputBox(const QString&, const QString&, const QString&) override { return extension_; }
    QString browseForFolder(const QString&, const QString&) override { return folder_; }

    int boxes = 0;

  private:
    QString extension_;
    QString folder_;
};

struct ScanResult {
    double seconds = 0;
    int rows = 0;
    int boxes = 0;
};

ScanResult ScanOnce(const QString& extension, const QString& root, const QString& settingsFolder,
                    FileList& list) {
    list.clear();
    QCoreApplication::processEvents();
    ScriptedWindowLayer window(extension, root);
    SettingsStore settings(window, settingsFolder);
    mp3::MP3Info info;
    const FileListFiller filler{list, info, window};
    FolderScanHost host{
        window, settings, [](bool) {},
        [&](const QString& path, ErrorGuard& guard, int firstStep, RefusedFiles& refused) {
            AddCandidateFile(guard, CandidateStepsFrom(firstStep), filler, path, refused);
        }};
    const auto start = std::chrono::steady_clock::now();
    RunFolderScan(host);
    QCoreApplication::processEvents();
    ScanResult result;
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.rows = list.count();
    result.boxes = window.boxes;
    return result;
}

struct Comparison {
    double scanSeconds = 0;
    double baselineSeconds = 0;
    ScanResult last;
};

Comparison Compare(const QString& extension, const std::string& findFilter, const std::string& cli,
                   const fs::path& root, const QString& settingsFolder, FileList& list,
                   int rounds) {
    const std::string baseline = "find '" + root.string() + "' -type f " + findFilter +
                                 " -print0 | xargs -0 '" + cli + "' info";
    const std::vector<std::string> baselineArgs = {"/bin/sh", "-c", baseline};
    const QString rootText = QString::fromStdString(root.string());
    RunQuietly(baselineArgs);  // warm the cache
    ScanOnce(extension, rootText, settingsFolder, list);
    std::vector<double> scans, baselines;
    Comparison c;
    for (int round = 0; round < rounds; ++round) {
        baselines.push_back(RunQuietly(baselineArgs).seconds);
        c.last = ScanOnce(extension, rootText, settingsFolder, list);
        scans.push_back(c.last.seconds);
    }
    c.scanSeconds = Median(scans);
    c.baselineSeconds = Median(baselines);
    return c;
}

// A chain of nested one-letter folders with one MP3 file at the bottom: the
// walk's cost must grow with the folders it meets, not with the depth.
double DeepChainSeconds(const fs::path& root, int depth, const std::vector<char>& mp3,
                        const QString& settingsFolder, FileList& list, int rounds) {
    fs::path bottom = root;
    for (int level = 0; level < depth; ++level) {
        bottom /= "a";
    }
    fs::create_directories(bottom);
    Write(bottom / "deep.mp3", mp3);
    const QString rootText = QString::fromStdString(root.string());
    ScanOnce("mp3", rootText, settingsFolder, list);  // warm the cache
    std::vector<double> seconds;
    for (int round = 0; round < rounds; ++round) {
        const ScanResult result = ScanOnce("mp3", rootText, settingsFolder, list);
        if (result.rows != 1) {
            std::fprintf(stderr, "the %d-deep chain gave %d rows, not 1\n", depth, result.rows);
            std::exit(1);
        }
        seconds.push_back(result.seconds);
    }
    return Median(seconds);
}

void Print(const char* label, const Comparison& c, int files) {
    const double ratio = c.scanSeconds / c.baselineSeconds;
    std::printf("%s\n", label);
    std::printf("  find | mirelune-cli info  %8.1f ms  %9.0f files/s\n", c.baselineSeconds * 1000,
                files / c.baselineSeconds);
    std::printf("  folder scan               %8.1f ms  %9.0f files/s  (%d rows, %d boxes)\n",
                c.scanSeconds * 1000, files / c.scanSeconds, c.last.rows, c.last.boxes);
    std::printf("  ratio (scan / cli):       %8.2f   target <= 2.00  %s\n", ratio,
                ratio <= 2.0 ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: scan_bench MIRELUNE_CLI MAKE_TONE LAME [FILES] [FOLDERS]\n");
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    const std::string cli = argv[1];
    const int files = argc > 4 ? std::atoi(argv[4]) : 20000;
    const int folders = argc > 5 ? std::atoi(argv[5]) : 500;

    QTemporaryDir scratch(QDir::tempPath() + "/mirelune-scan-bench-XXXXXX");
    const fs::path root = fs::path(scratch.path().toStdString()) / "Music";
    const Corpus corpus = MakeCorpus(root, argv[2], argv[3], files, folders);
    const QString settingsFolder = scratch.path() + "/settings";

    FileList list;
    QTreeView view;
    view.setModel(&list);
    view.resize(640, 480);
    view.show();

    const Comparison mp3Only = Compare("mp3", "-iname '*.mp3'", cli, root, settingsFolder, list, 5);
    const Comparison everything = Compare("*", "", cli, root, settingsFolder, list, 3);
    const std::vector<char> mp3 = Slurp(root / "Artist 0" / "Track 0.mp3");
    const fs::path chains = fs::path(scratch.path().toStdString()) / "chains";
    const double shallow = DeepChainSeconds(chains / "200", 200, mp3, settingsFolder, list, 5);
    const double deep = DeepChainSeconds(chains / "800", 800, mp3, settingsFolder, list, 5);
    if (std::getenv("MIRELUNE_BENCH_KEEP") != nullptr) {
        scratch.setAutoRemove(false);
        std::printf("corpus kept in %s\n", root.string().c_str());
    }

    std::printf("tree: %d folders, %d MP3 files, %d other files\n", corpus.folders, corpus.mp3Files,
                corpus.otherFiles);
    Print("extension \"mp3\" (find -iname '*.mp3'):", mp3Only, corpus.mp3Files);
    Print("extension \"*\" (find -type f), one summary box, counted, not shown:", everything,
          corpus.mp3Files + corpus.otherFiles);
    const double depthRatio = deep / shallow;
    std::printf("deep chain of one-letter folders, extension \"mp3\", one file at the bottom:\n");
    std::printf("  200 folders deep          %8.1f ms\n", shallow * 1000);
    std::printf("  800 folders deep          %8.1f ms\n", deep * 1000);
    std::printf("  ratio (800 / 200):        %8.2f   target <= 8.00  %s\n", depthRatio,
                depthRatio <= 8.0 ? "met" : "MISSED");
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the whole analysis over arbitrary bytes. ReadMP3Info reads files, so
// each input is written to one scratch file first.
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "mp3/AnalysisError.h"
#include "mp3/BitrateText.h"
#include "mp3/MP3Info.h"

namespace {

const std::string& ScratchPath() {
    static const std::string path = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp != nullptr ? tmp : "/tmp") + "/mp3-fuzz-XXXXXX";
        const int fd = mkstemp(pattern.data());
        if (fd < 0) {
            std::abort();
        }
        close(fd);
        return pattern;
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = ScratchPath();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        std::abort();
    }
    if (size > 0 && std::fwrite(data, 1, size, f) != size) {
        std::abort();
    }
    std::fclose(f);

    static mirelune::mp3::MP3Info info;
    try {
        if (info.ReadMP3Info(path)) {
            // Every property must be readable after a successful analysis.
            volatile auto sink = info.Bitrate() + info.Frames() + info.Samplerate() +
                                 info.Channels() + info.Layer() + info.FirstFrame();
            volatile auto bytes = info.MpegBytes();
            volatile auto text = mirelune::mp3::BitrateText(info.Bitrate()).size();
            (void)sink;
            (void)bytes;
            (void)text;
        }
    } catch (const mirelune::mp3::AnalysisError&) {
        // The three analysis failures are expected outcomes on bad input.
    }
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <lame/lame.h>

#include <string>
#include <vector>

namespace mirelune::samples {

struct SampleFiles {
    std::string wav;
    std::string mp3;
};

// Sets up flags from the part of LAME's command line the build, the tests
// and the benchmarks use:
//   -b KBPS  -m s|j|f|m  -V Q  -q Q  -h  -t  --resample KHZ  --quiet  --silent
//   --tt --ta --tl --ty --tc --tn --tg TEXT  --ti PICTURE  --add-id3v2
//   --id3v1-only  --id3v2-only  --pad-id3v2  --pad-id3v2-size BYTES
// followed by the WAV input and the MP3 output. Throws std::runtime_error.
SampleFiles ApplyLameArguments(lame_t flags, const std::vector<std::string>& args);

}  // namespace mirelune::samples

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mirelune::samples {

// 16-bit PCM from a WAV file such as make_tone writes.
struct WavFile {
    int channels = 0;
    int sampleRate = 0;
    std::vector<short> left;
    std::vector<short> right;  // empty for one channel
};

// Throws std::runtime_error with a one-line reason.
WavFile ReadWavFile(const std::string& path);

}  // namespace mirelune::samples

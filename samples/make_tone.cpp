// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a PCM WAV file of sine tones, the raw material for the MP3 files the
// build and the tests encode with LAME.
//
//   make_tone OUT.wav [SECONDS] [RATE] [CHANNELS] [FREQUENCY]
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

void PutLe(std::ofstream& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_tone OUT.wav [SECONDS] [RATE] [CHANNELS] [FREQUENCY]\n");
        return 2;
    }
    const double seconds = argc > 2 ? std::atof(argv[2]) : 3.0;
    const int rate = argc > 3 ? std::atoi(argv[3]) : 44100;
    const int channels = argc > 4 ? std::atoi(argv[4]) : 2;
    const double frequency = argc > 5 ? std::atof(argv[5]) : 440.0;
    if (seconds <= 0 || rate <= 0 || channels < 1 || channels > 2) {
        std::fprintf(stderr, "make_tone: bad arguments\n");
        return 2;
    }
    const auto frames = static_cast<std::uint32_t>(seconds * rate);
    const std::uint32_t dataBytes = frames * static_cast<std::uint32_t>(channels) * 2;

    std::ofstream out(argv[1], std::ios::binary);
    out.write("RIFF", 4);
    PutLe(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    PutLe(out, 16, 4);
    PutLe(out, 1, 2);  // PCM
    PutLe(out, static_cast<std::uint32_t>(channels), 2);
    PutLe(out, static_cast<std::uint32_t>(rate), 4);
    PutLe(out, static_cast<std::uint32_t>(rate * channels * 2), 4);
    PutLe(out, static_cast<std::uint32_t>(channels * 2), 2);
    PutLe(out, 16, 2);
    out.write("data", 4);
    PutLe(out, dataBytes, 4);

    const double pi = std::acos(-1.0);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / rate;
        // A slow sweep keeps the encoder busy like music would, unlike a pure tone.
        const double sweep = frequency * (1.0 + 0.5 * std::sin(2 * pi * 0.25 * t));
        for (int c = 0; c < channels; ++c) {
            const double phase = 2 * pi * sweep * (1.0 + 0.01 * c) * t;
            const auto sample = static_cast<std::int16_t>(12000.0 * std::sin(phase));
            PutLe(out, static_cast<std::uint16_t>(sample), 2);
        }
    }
    if (!out) {
        std::fprintf(stderr, "make_tone: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

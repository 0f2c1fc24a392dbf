// SPDX-License-Identifier: GPL-3.0-or-later
#include "WavFile.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "encoder/FileBytes.h"

namespace mirelune::samples {
namespace {

std::uint32_t Le(const encoder::Bytes& bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int k = width - 1; k >= 0; --k) {
        value = value << 8 | bytes[at + static_cast<std::size_t>(k)];
    }
    return value;
}

bool IdAt(const encoder::Bytes& bytes, std::size_t at, const char* id) {
    return at + 4 <= bytes.size() && std::memcmp(bytes.data() + at, id, 4) == 0;
}

}  // namespace

WavFile ReadWavFile(const std::string& path) {
    const encoder::Bytes bytes = encoder::ReadFileBytes(path);
    if (!IdAt(bytes, 0, "RIFF") || !IdAt(bytes, 8, "WAVE")) {
        throw std::runtime_error(path + " is not a WAV file");
    }
    WavFile wav;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::size_t size = Le(bytes, at + 4, 4);
        const std::size_t body = at + 8;
        const std::size_t available = std::min(size, bytes.size() - body);
        if (IdAt(bytes, at, "fmt ") && available >= 16) {
            if (Le(bytes, body, 2) != 1 || Le(bytes, body + 14, 2) != 16) {
                throw std::runtime_error(path + " is not 16-bit PCM");
            }
            wav.channels = static_cast<int>(Le(bytes, body + 2, 2));
            wav.sampleRate = static_cast<int>(Le(bytes, body + 4, 4));
        } else if (IdAt(bytes, at, "data") && wav.channels > 0) {
            if (wav.channels > 2) {
                throw std::runtime_error(path + " has more than two channels");
            }
            const auto channels = static_cast<std::size_t>(wav.channels);
            for (std::size_t i = body; i + 2 * channels <= body + available; i += 2 * channels) {
                wav.left.push_back(static_cast<short>(Le(bytes, i, 2)));
                if (channels == 2) {
                    wav.right.push_back(static_cast<short>(Le(bytes, i + 2, 2)));
                }
            }
            return wav;
        }
        at = body + size + (size & 1);
    }
    throw std::runtime_error(path + " holds no 16-bit PCM sound");
}

}  // namespace mirelune::samples

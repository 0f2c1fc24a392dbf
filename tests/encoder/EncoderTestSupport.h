// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the encoder's tests: running programs, making sources with our
// tone generator and make_sample, and reading back what a result holds.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/Mp3Bytes.h"
#include "support/ScratchDir.h"

namespace mirelune::test {

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

inline std::string Text(const std::string& path) {
    const Bytes bytes = ReadAll(path);
    return {bytes.begin(), bytes.end()};
}

// Runs program with args through the shell; prefix goes in front, for
// example to set limits.
inline ProgramRun RunProgram(const ScratchDir& dir, const std::string& program,
                             const std::vector<std::string>& args, const std::string& prefix = "") {
    std::string command = prefix + Quoted(program);
    for (const std::string& arg : args) {
        command += " " + Quoted(arg);
    }
    const std::string out = dir.file("run.out");
    const std::string err = dir.file("run.err");
    const int status = std::system((command + " >" + out + " 2>" + err).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Text(out), Text(err)};
}

inline ProgramRun Encode(const ScratchDir& dir, const std::vector<std::string>& args) {
    return RunProgram(dir, MIRELUNE_ENCODER, args);
}

// A tone of the given shape, made into an MP3 file by make_sample.
inline std::string ToneMp3(const ScratchDir& dir, const std::string& name, double seconds, int rate,
                           int channels, const std::vector<std::string>& lameArgs) {
    const std::string wav = dir.file(name + ".wav");
    const std::string mp3 = dir.file(name);
    RunProgram(dir, MIRELUNE_MAKE_TONE,
               {wav, std::to_string(seconds), std::to_string(rate), std::to_string(channels)});
    std::vector<std::string> args = lameArgs;
    args.insert(args.end(), {wav, mp3});
    if (RunProgram(dir, MIRELUNE_MAKE_SAMPLE, args).exitCode != 0) {
        ADD_FAILURE() << "make_sample failed for " << name;
    }
    return mp3;
}

// The frames of a result after its ID3v2 tag, and the encoder delay and
// padding its LAME header gives: what a gapless decoder plays.
struct ResultFrames {
    std::size_t frames = 0;  // audio frames, the header frame left out
    std::size_t samplesPerFrame = 0;
    std::size_t delay = 0;
    std::size_t padding = 0;
    std::size_t end = 0;  // where the last frame ends
    long samples() const { return static_cast<long>(frames * samplesPerFrame - delay - padding); }
};

// The length of the Layer III frame at `at` (LAME writes nothing else), or 0.
inline std::size_t FrameLength(const Bytes& file, std::size_t at, std::size_t* samples) {
    const bool layer3 = at + 4 <= file.size() && file[at] == 0xFF &&
                        (file[at + 1] & 0xE0) == 0xE0 && ((file[at + 1] >> 1) & 3) == 1 &&
                        ((file[at + 1] >> 3) & 3) != 1;
    if (!layer3) {
        return 0;
    }
    static const int kMpeg1[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    static const int kLow[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    static const int kRates[] = {44100, 48000, 32000};
    const int version = (file[at + 1] >> 3) & 3;  // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
    const int index = file[at + 2] >> 4;
    if (index == 0 || index == 15 || ((file[at + 2] >> 2) & 3) == 3) {
        return 0;
    }
    const int rate = kRates[(file[at + 2] >> 2) & 3] / (version == 3 ? 1 : version == 2 ? 2 : 4);
    const int kbps = version == 3 ? kMpeg1[index] : kLow[index];
    *samples = version == 3 ? 1152 : 576;
    return (version == 3 ? 144 : 72) * static_cast<std::size_t>(kbps) * 1000 /
               static_cast<std::size_t>(rate) +
           ((file[at + 2] >> 1) & 1);
}

inline ResultFrames ReadResultFrames(const Bytes& file, std::size_t start) {
    ResultFrames result;
    std::size_t at = start;
    std::size_t spf = 0;
    while (const std::size_t length = FrameLength(file, at, &spf)) {
        if (at + length > file.size()) {
            break;
        }
        result.samplesPerFrame = spf;
        ++result.frames;
        at += length;
    }
    result.end = at;
    const bool mpeg1 = (file[start + 1] & 0x08) != 0;
    const bool mono = (file[start + 3] >> 6) == 3;
    const std::size_t info = start + 4 + (mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17));
    const std::uint32_t flags = file[info + 7];
    const std::size_t lame = info + 8 + 4 * (flags & 1) + 4 * ((flags >> 1) & 1) +
                             100 * ((flags >> 2) & 1) + 4 * ((flags >> 3) & 1);
    if (result.frames > 0 && std::string(file.begin() + info, file.begin() + info + 4) == "Info" &&
        std::string(file.begin() + lame, file.begin() + lame + 4) == "LAME") {
        --result.frames;
        const std::size_t d = lame + 21;
        result.delay = static_cast<std::size_t>(file[d] << 4 | file[d + 1] >> 4);
        result.padding = static_cast<std::size_t>((file[d + 1] & 0x0F) << 8 | file[d + 2]);
    }
    return result;
}

}  // namespace mirelune::test

// SPDX-License-Identifier: GPL-3.0-or-later
// Asks LAME, through its own API, what it does with every input shape and
// bitrate Mirelune can hand it, and writes the answers as rows of
// LameDecision for the size prediction. Run by the build on the LAME library
// the encoder links, so the table always belongs to that LAME.

#include <lame/lame.h>

#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "encoder/LameEncoder.h"
#include "encoder/LameOptions.h"

namespace {

using mirelune::encoder::LameChoices;
using mirelune::encoder::LameEncoder;

// Every sample rate of MPEG-1, 2 and 2.5, and the bitrates the program offers.
constexpr int kInRates[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
constexpr int kOfferedKbps[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};

struct Answer {
    bool accepted = false;
    int outRate = 0;
    int outKbps = 0;
    int version = 0;
    int mode = 0;
    int frameSamples = 0;
    int encoderDelay = 0;
    int delayBeforeStart = 0;
    int infoFrameBytes = 0;

    bool operator==(const Answer& o) const {
        return accepted == o.accepted && outRate == o.outRate && outKbps == o.outKbps &&
               version == o.version && mode == o.mode && frameSamples == o.frameSamples &&
               encoderDelay == o.encoderDelay && delayBeforeStart == o.delayBeforeStart &&
               infoFrameBytes == o.infoFrameBytes;
    }
};

// Sets LAME up as the encoder does, then encodes one frame of silence so
// that LAME shows the Info frame it would write.
Answer Ask(int inRate, int channels, const LameChoices& choices) {
    LameEncoder encoder;
    lame_t flags = encoder.flags();
    mirelune::encoder::ApplyOptions(flags, choices);
    Answer answer;
    answer.delayBeforeStart = lame_get_encoder_delay(flags);
    lame_set_num_channels(flags, channels);
    lame_set_in_samplerate(flags, inRate);
    lame_set_write_id3tag_automatic(flags, 0);
    if (lame_init_params(flags) < 0) {
        return answer;
    }
    answer.accepted = true;
    answer.outRate = lame_get_out_samplerate(flags);
    answer.outKbps = lame_get_brate(flags);
    answer.version = lame_get_version(flags);
    answer.mode = lame_get_mode(flags);
    answer.frameSamples = lame_get_framesize(flags);
    answer.encoderDelay = lame_get_encoder_delay(flags);
    const std::vector<short> silence(static_cast<std::size_t>(answer.frameSamples), 0);
    encoder.encode(silence.data(), silence.data(), silence.size());
    encoder.flush();
    answer.infoFrameBytes = static_cast<int>(encoder.lameTagFrame().size());
    return answer;
}

const char* VersionName(int lameVersion, int outRate) {
    switch (lameVersion) {
        case 1:
            return "Version::Mpeg1";
        default:
            // LAME counts MPEG-2.5 as MPEG-2: its rates are below 16 kHz.
            return outRate < 16000 ? "Version::Mpeg25" : "Version::Mpeg2";
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: lame_decisions OUTPUT.inc\n";
        return 2;
    }
    std::ostringstream rows;
    rows << "// LAME " << get_lame_version() << ": what lame_init_params chose. Written by\n"
         << "// lame_decisions; do not edit.\n";
    for (const int rate : kInRates) {
        for (const int channels : {1, 2}) {
            for (const bool stereo : {false, true}) {
                for (const int kbps : kOfferedKbps) {
                    const Answer answer = Ask(rate, channels, {true, stereo, kbps});
                    // The window and the command line always ask for -h; the
                    // encoder also runs without it. The table holds for both
                    // only if quality changes none of these choices.
                    if (!(Ask(rate, channels, {false, stereo, kbps}) == answer)) {
                        std::cerr << "lame_decisions: -h changes LAME's choices at " << rate
                                  << " Hz, " << channels << " channels, " << kbps << " kbps\n";
                        return 1;
                    }
                    rows << "{" << rate << ", " << channels << ", " << (stereo ? "true" : "false")
                         << ", " << kbps << ", " << (answer.accepted ? "true" : "false") << ", "
                         << answer.outRate << ", " << answer.outKbps << ", "
                         << VersionName(answer.version, answer.outRate) << ", " << answer.mode
                         << ", " << answer.frameSamples << ", " << answer.encoderDelay << ", "
                         << answer.delayBeforeStart << ", " << answer.infoFrameBytes << "},\n";
                }
            }
        }
    }
    // Written whole under another name and moved in, so a build stopped
    // midway leaves no half table behind.
    const std::string target = argv[1];
    const std::string partial = target + ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << rows.str();
        if (!out.flush()) {
            std::cerr << "lame_decisions: cannot write " << partial << "\n";
            return 1;
        }
    }
    if (std::rename(partial.c_str(), target.c_str()) != 0) {
        std::cerr << "lame_decisions: cannot move " << partial << " to " << target << "\n";
        return 1;
    }
    return 0;
}

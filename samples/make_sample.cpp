// SPDX-License-Identifier: GPL-3.0-or-later
// Encodes a WAV file (as make_tone writes it) into an MP3 file with LAME's
// library, taking the part of LAME's command line the build and the tests use,
// so that they need no lame program:
//
//   make_sample [LAME OPTIONS] IN.wav OUT.mp3
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "LameArguments.h"
#include "WavFile.h"
#include "encoder/LameEncoder.h"
#include "encoder/OutputFile.h"

namespace {

using mirelune::encoder::Bytes;

// The tags LAME's library made from the options, or nothing.
Bytes Id3v2Tag(lame_t flags) {
    Bytes tag(lame_get_id3v2_tag(flags, nullptr, 0));
    tag.resize(lame_get_id3v2_tag(flags, tag.data(), tag.size()));
    return tag;
}

Bytes Id3v1Tag(lame_t flags) {
    Bytes tag(128);
    tag.resize(lame_get_id3v1_tag(flags, tag.data(), tag.size()));
    return tag;
}

void MakeSample(const std::vector<std::string>& args) {
    mirelune::encoder::LameEncoder encoder;
    lame_t flags = encoder.flags();
    const mirelune::samples::SampleFiles files = mirelune::samples::ApplyLameArguments(flags, args);
    const mirelune::samples::WavFile wav = mirelune::samples::ReadWavFile(files.wav);
    lame_set_num_channels(flags, wav.channels);
    lame_set_in_samplerate(flags, wav.sampleRate);
    lame_set_num_samples(flags, static_cast<unsigned long>(wav.left.size()));
    // Written here, where the Info/LAME header frame can follow the ID3v2 tag.
    lame_set_write_id3tag_automatic(flags, 0);
    encoder.start();

    mirelune::encoder::OutputFile output(files.mp3);
    const Bytes id3v2 = Id3v2Tag(flags);
    output.write(id3v2);
    const std::vector<short>& right = wav.channels == 2 ? wav.right : wav.left;
    constexpr std::size_t kBlock = 1152;
    for (std::size_t at = 0; at < wav.left.size(); at += kBlock) {
        const std::size_t count = std::min(kBlock, wav.left.size() - at);
        output.write(encoder.encode(wav.left.data() + at, right.data() + at, count));
    }
    output.write(encoder.flush());
    output.write(Id3v1Tag(flags));
    output.rewrite(id3v2.size(), encoder.lameTagFrame());
    output.keep();
}

}  // namespace

int main(int argc, char* argv[]) {
    try {
        MakeSample(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_sample: %s\n", error.what());
        return 1;
    }
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/ResultSize.h"

#include <algorithm>
#include <cmath>

#include "encoder/DecodedStream.h"
#include "encoder/LameDecision.h"
#include "encoder/SampleTrim.h"

namespace mirelune::encoder {
namespace {

// LAME's flush ends the stream with at least this much padding.
constexpr std::int64_t kLeastEndPadding = 576;
// LAME's resampler makes an output sample only once it holds this many
// input samples past that sample's time; its flush allows for as many.
constexpr std::int64_t kResamplerLookahead = 16;

struct FrameCount {
    std::int64_t low = 0;
    std::int64_t middle = 0;
    std::int64_t high = 0;
};

// A Layer III frame holds (version factor * kbps / rate) slots; LAME pads
// one frame in so many to keep the average, never the first.
std::uint64_t AudioBytes(const LameDecision& lame, std::int64_t frames) {
    if (frames <= 0) {
        return 0;
    }
    const std::uint64_t perRate = (lame.version == MpegHeader::Version::Mpeg1 ? 144000u : 72000u) *
                                  static_cast<std::uint64_t>(lame.outKbps);
    const auto rate = static_cast<std::uint64_t>(lame.outRate);
    const auto count = static_cast<std::uint64_t>(frames);
    const std::uint64_t paddings = ((count - 1) * (perRate % rate) + rate - 1) / rate;
    return count * (perRate / rate) + paddings;
}

// Frames LAME writes for `samples` fed to it, the Info frame left out.
std::int64_t LameFrames(const LameDecision& lame, const SourceFacts& source, std::int64_t samples) {
    std::int64_t toEncode = lame.encoderDelay;
    if (lame.outRate == source.sampleRate) {
        toEncode += samples;
    } else {
        const std::int64_t in = source.sampleRate;
        const std::int64_t out = lame.outRate;
        const std::int64_t ahead = std::max<std::int64_t>(samples - kResamplerLookahead, 0);
        toEncode += (ahead * out + in - 1) / in + kResamplerLookahead * out / in;
    }
    const std::int64_t frame = lame.frameSamples;
    std::int64_t padding = frame - toEncode % frame;
    if (padding < kLeastEndPadding) {
        padding += frame;
    }
    return (toEncode + padding) / frame;
}

// The samples the encoder feeds LAME when the decoder makes `frames` frames.
std::int64_t FedSamples(const SourceFacts& source, const TrimCounts& trim, std::int64_t frames) {
    const std::int64_t decoded = std::max<std::int64_t>(frames, 0) * source.samplesPerFrame;
    return std::max<std::int64_t>(
        decoded - static_cast<std::int64_t>(trim.start) - static_cast<std::int64_t>(trim.end), 0);
}

// Without a frame count in the header, the frames are what the audio's bytes
// hold at the first frame's bitrate; that holds within a frame or two for a
// constant bitrate, and the doubt allows a little more.
FrameCount SourceFrames(const SourceFacts& source) {
    if (source.headerFrames > 0) {
        return {source.headerFrames, source.headerFrames, source.headerFrames};
    }
    const double frameBytes = static_cast<double>(source.samplesPerFrame) / 8.0 * source.kbps *
                              1000.0 / source.sampleRate;
    // A file cut short keeps the proportion of its header's count.
    const auto middle = source.scaledFrames > 0
                            ? std::int64_t{source.scaledFrames}
                            : static_cast<std::int64_t>(std::llround(
                                  static_cast<double>(source.audioBytes) / frameBytes));
    const std::int64_t doubt = 2 + middle / 50;
    return {std::max<std::int64_t>(middle - doubt, 0), middle, middle + doubt};
}

}  // namespace

std::optional<SizePrediction> PredictResultSize(const SourceFacts& source, int kbps, bool stereo) {
    const auto lame = FindLameDecision(source.sampleRate, source.channels, stereo, kbps);
    if (!lame || !lame->accepted || source.samplesPerFrame <= 0 || source.kbps <= 0) {
        return std::nullopt;
    }
    const FrameCount frames = SourceFrames(source);
    DecodedStream stream;
    stream.encoderDelay = source.encoderDelay;
    stream.encoderPadding = source.encoderPadding;
    const TrimCounts trim = TrimForSource(source.layer, stream, lame->delayBeforeStart);
    const auto lameFrames = [&](std::int64_t sourceFrames) {
        return LameFrames(*lame, source, FedSamples(source, trim, sourceFrames));
    };
    const bool resampled = lame->outRate != source.sampleRate;
    FrameCount out;
    out.middle = lameFrames(frames.middle);
    out.low = out.middle;
    out.high = out.middle;
    if (resampled || frames.low != frames.high) {
        // The resampler's output count and LAME's flush can each move the
        // end by a frame either way.
        const std::int64_t slack = resampled ? 1 : 0;
        out.low = std::max<std::int64_t>(lameFrames(frames.low) - slack, 1);
        out.high = lameFrames(frames.high) + slack;
    }
    const std::uint64_t around =
        source.id3v2Bytes + static_cast<std::uint64_t>(lame->infoFrameBytes) + source.trailingBytes;
    SizePrediction prediction;
    prediction.exact = source.headerFrames > 0 && !resampled;
    prediction.bytes = around + AudioBytes(*lame, out.middle);
    prediction.low = out.low == out.middle ? prediction.bytes : around + AudioBytes(*lame, out.low);
    prediction.high =
        out.high == out.middle ? prediction.bytes : around + AudioBytes(*lame, out.high);
    return prediction;
}

}  // namespace mirelune::encoder

// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/Reencode.h"

#include <sys/stat.h>

#include <algorithm>

#include "encoder/EncoderFailure.h"
#include "encoder/LameEncoder.h"
#include "encoder/LameOptions.h"
#include "encoder/Mp3Decoder.h"
#include "encoder/OutputFile.h"
#include "encoder/SampleTrim.h"
#include "encoder/SourceFile.h"
#include "encoder/StreamStart.h"
#include "encoder/TagLayout.h"

namespace mirelune::encoder {
namespace {

constexpr std::size_t kCopyBlock = 1 << 16;

// Copies part of the source to the output a block at a time.
void CopyPart(const SourceFile& source, Span part, OutputFile& output) {
    Bytes block(kCopyBlock);
    for (std::size_t at = part.offset; at < part.end();) {
        const std::size_t got =
            source.readAt(at, block.data(), std::min(kCopyBlock, part.end() - at));
        if (got == 0) {
            throw EncoderFailure("cannot read " + source.path() + ": the file became shorter");
        }
        output.write(block.data(), got);
        at += got;
    }
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// The length LAME's program tells the encoder: the decoder's count from a
// Xing or Info header, or else a guess from the file's size and the first
// frame's bitrate; less the samples trimmed.
unsigned long SampleCount(const DecodedStream& stream, std::size_t fileBytes, TrimCounts trim) {
    unsigned long samples = stream.samples;
    if (stream.totalFrames <= 0) {
        const double seconds = static_cast<double>(fileBytes) * 8.0 / (1000.0 * stream.kbps);
        samples = static_cast<unsigned long>(seconds * stream.sampleRate);
    }
    const unsigned long discarded = trim.start + trim.end;
    return samples > discarded ? samples - discarded : 0;
}

std::string Shape(int channels, int sampleRate) {
    return std::string(channels == 1 ? "mono" : "stereo") + " at " + std::to_string(sampleRate) +
           " Hz";
}

// Decodes the whole stream into the encoder and the output.
void Transcode(const std::string& path, Mp3Decoder& decoder, const DecodedStream& stream,
               SampleTrim& trim, LameEncoder& encoder, OutputFile& output) {
    short left[1152];
    short right[1152];
    while (const int count = decoder.decodeFrame(left, right)) {
        if (decoder.channels() != stream.channels || decoder.sampleRate() != stream.sampleRate) {
            throw EncoderFailure(path + " changes its channels or sample rate midway (from " +
                                 Shape(stream.channels, stream.sampleRate) + " to " +
                                 Shape(decoder.channels(), decoder.sampleRate()) + ")");
        }
        trim.add(left, right, static_cast<std::size_t>(count));
        if (const std::size_t ready = trim.ready()) {
            output.write(encoder.encode(trim.left(), trim.right(), ready));
            trim.take();
        }
    }
    output.write(encoder.flush());
}

}  // namespace

std::string Reencode(const EncodeRequest& request) {
    const SourceFile source(request.input);
    if (SameFile(request.input, request.output)) {
        throw EncoderFailure("the output " + request.output + " is the input itself");
    }
    const TagLayout tags = LocateTags(source);
    const StreamStart start = FindStreamStart(source, tags.audio);
    std::size_t first = start.offset;
    if (start.skipFirstFrame) {
        first += start.header.frameBytes;
    }
    Mp3Decoder decoder(source, {first, tags.audio.end() - first}, start.header);
    const DecodedStream stream = decoder.readHeader();

    LameEncoder encoder;
    ApplyOptions(encoder.flags(), {request.highQuality, request.stereo, request.kbps});
    const TrimCounts trimCounts =
        TrimForSource(start.header.layer, stream, lame_get_encoder_delay(encoder.flags()));
    lame_set_num_channels(encoder.flags(), stream.channels);
    lame_set_in_samplerate(encoder.flags(), stream.sampleRate);
    lame_set_num_samples(encoder.flags(), SampleCount(stream, source.size(), trimCounts));
    // The source's own tags are copied instead.
    lame_set_write_id3tag_automatic(encoder.flags(), 0);
    encoder.start();

    OutputFile output(request.output);
    CopyPart(source, tags.id3v2, output);
    SampleTrim trim(trimCounts, stream.channels);
    Transcode(source.path(), decoder, stream, trim, encoder, output);
    CopyPart(source, tags.trailing, output);
    // As in LAME's program, the Info/LAME header frame takes the place of
    // the first frame once the encoder knows the whole stream.
    output.rewrite(tags.id3v2.size, encoder.lameTagFrame());
    output.keep();
    return tags.warning;
}

}  // namespace mirelune::encoder

// SPDX-License-Identifier: GPL-3.0-or-later
#include "LameArguments.h"

#include <cstdlib>
#include <functional>
#include <map>
#include <stdexcept>
#include <vector>

#include "encoder/FileBytes.h"

namespace mirelune::samples {
namespace {

double Number(const std::string& option, const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0') {
        throw std::runtime_error(option + " needs a number, not '" + text + "'");
    }
    return value;
}

// LAME's program accepts a rate in kHz or Hz and rounds it to a rate MP3
// knows.
int ResampleRate(const std::string& text) {
    double rate = Number("--resample", text);
    if (rate >= 1000) {
        rate /= 1000;
    }
    static const std::map<int, int> kRates = {{8, 8000},   {11, 11025}, {12, 12000},
                                              {16, 16000}, {22, 22050}, {24, 24000},
                                              {32, 32000}, {44, 44100}, {48, 48000}};
    const auto found = kRates.find(static_cast<int>(rate));
    if (found == kRates.end()) {
        throw std::runtime_error("--resample: no MP3 sample rate near " + text);
    }
    return found->second;
}

MPEG_mode Mode(const std::string& text) {
    if (text == "s") {
        return STEREO;
    }
    if (text == "j" || text == "f") {
        return JOINT_STEREO;
    }
    if (text == "m") {
        return MONO;
    }
    if (text == "d") {
        return DUAL_CHANNEL;
    }
    throw std::runtime_error("-m takes s, j, f, d or m, not '" + text + "'");
}

void SetPicture(lame_t flags, const std::string& path) {
    const encoder::Bytes picture = encoder::ReadFileBytes(path);
    if (id3tag_set_albumart(flags, reinterpret_cast<const char*>(picture.data()), picture.size()) !=
        0) {
        throw std::runtime_error(path + " is no JPEG, PNG or GIF picture");
    }
}

using Setter = std::function<void(lame_t, const std::string&)>;

// The code points of UTF-8 text.
std::vector<char32_t> CodePoints(const std::string& utf8) {
    std::vector<char32_t> codes;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t code = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (int k = 1; k < length && i + static_cast<std::size_t>(k) < utf8.size(); ++k) {
            code = code << 6 |
                   (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3F);
        }
        i += static_cast<std::size_t>(length);
        codes.push_back(code);
    }
    return codes;
}

// ID3v1 holds Latin-1; like LAME's program, '?' stands for the rest.
std::string Latin1(const std::string& utf8) {
    std::string text;
    for (const char32_t code : CodePoints(utf8)) {
        text.push_back(code < 0x100 ? static_cast<char>(code) : '?');
    }
    return text;
}

// UTF-16 with a byte order mark and a closing zero, as LAME's ID3v2 calls
// take it.
std::vector<unsigned short> Utf16(const std::string& utf8) {
    std::vector<unsigned short> text = {0xFEFF};
    for (char32_t code : CodePoints(utf8)) {
        if (code >= 0x10000) {
            code -= 0x10000;
            text.push_back(static_cast<unsigned short>(0xD800 | (code >> 10)));
            text.push_back(static_cast<unsigned short>(0xDC00 | (code & 0x3FF)));
        } else {
            text.push_back(static_cast<unsigned short>(code));
        }
    }
    text.push_back(0);
    return text;
}

// Like LAME's program: the text goes into the ID3v1 fields and, as UTF-16,
// into an ID3v2 frame, so that an ID3v2 tag is written unless ruled out.
Setter TextTag(void (*setV1)(lame_t, const char*), const char* frameId) {
    return [setV1, frameId](lame_t f, const std::string& v) {
        setV1(f, Latin1(v).c_str());
        id3tag_set_textinfo_utf16(f, frameId, Utf16(v).data());
    };
}

void CommentTag(lame_t f, const std::string& v) {
    id3tag_set_comment(f, Latin1(v).c_str());
    id3tag_set_comment_utf16(f, nullptr, nullptr, Utf16(v).data());
}

// Options that take a value, and what each does with it.
const std::map<std::string, Setter>& ValueOptions() {
    static const std::map<std::string, Setter> options = {
        {"-b",
         [](lame_t f, const std::string& v) {
             lame_set_brate(f, static_cast<int>(Number("-b", v)));
             lame_set_VBR_min_bitrate_kbps(f, lame_get_brate(f));
         }},
        {"-m",
         [](lame_t f, const std::string& v) {
             lame_set_force_ms(f, v == "f");
             lame_set_mode(f, Mode(v));
         }},
        {"-V",
         [](lame_t f, const std::string& v) {
             if (lame_get_VBR(f) == vbr_off) {
                 lame_set_VBR(f, vbr_default);
             }
             lame_set_VBR_quality(f, static_cast<float>(Number("-V", v)));
         }},
        {"-q",
         [](lame_t f, const std::string& v) {
             lame_set_quality(f, static_cast<int>(Number("-q", v)));
         }},
        {"--resample",
         [](lame_t f, const std::string& v) { lame_set_out_samplerate(f, ResampleRate(v)); }},
        {"--tt", TextTag(id3tag_set_title, "TIT2")},
        {"--ta", TextTag(id3tag_set_artist, "TPE1")},
        {"--tl", TextTag(id3tag_set_album, "TALB")},
        {"--ty", TextTag(id3tag_set_year, "TYER")},
        {"--tc", CommentTag},
        {"--tn", [](lame_t f, const std::string& v) { id3tag_set_track(f, v.c_str()); }},
        {"--tg", [](lame_t f, const std::string& v) { id3tag_set_genre(f, v.c_str()); }},
        {"--ti", SetPicture},
        {"--pad-id3v2-size",
         [](lame_t f, const std::string& v) {
             id3tag_set_pad(f, static_cast<std::size_t>(Number("--pad-id3v2-size", v)));
         }},
    };
    return options;
}

// Options on their own.
const std::map<std::string, std::function<void(lame_t)>>& FlagOptions() {
    static const std::map<std::string, std::function<void(lame_t)>> options = {
        {"-h", [](lame_t f) { lame_set_quality(f, 2); }},
        {"-t", [](lame_t f) { lame_set_bWriteVbrTag(f, 0); }},
        {"--quiet", [](lame_t) {}},
        {"--silent", [](lame_t) {}},
        {"--add-id3v2", [](lame_t f) { id3tag_add_v2(f); }},
        {"--id3v1-only", [](lame_t f) { id3tag_v1_only(f); }},
        {"--id3v2-only", [](lame_t f) { id3tag_v2_only(f); }},
        {"--pad-id3v2", [](lame_t f) { id3tag_pad_v2(f); }},
    };
    return options;
}

}  // namespace

SampleFiles ApplyLameArguments(lame_t flags, const std::vector<std::string>& args) {
    id3tag_init(flags);
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (const auto flag = FlagOptions().find(arg); flag != FlagOptions().end()) {
            flag->second(flags);
        } else if (const auto valued = ValueOptions().find(arg); valued != ValueOptions().end()) {
            if (i + 1 >= args.size()) {
                throw std::runtime_error(arg + " needs a value");
            }
            valued->second(flags, args[++i]);
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw std::runtime_error("unknown option '" + arg + "'");
        } else {
            paths.push_back(arg);
        }
    }
    if (paths.size() != 2) {
        throw std::runtime_error("needs a WAV input and an MP3 output");
    }
    // On by default in LAME's program.
    lame_set_findReplayGain(flags, 1);
    return {paths[0], paths[1]};
}

}  // namespace mirelune::samples

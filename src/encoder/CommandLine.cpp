// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/CommandLine.h"

#include <lame/lame.h>

namespace mirelune::encoder {
namespace {

// The widest range any MPEG audio bitrate falls in; inside it LAME picks the
// nearest bitrate the output's sample rate allows, as its own program does.
constexpr int kMinKbps = 8;
constexpr int kMaxKbps = 640;

int ParseKbps(const std::string& text) {
    if (text.empty() || text.size() > 3 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        throw UsageError("-b takes a bitrate in kbps, not '" + text + "'");
    }
    const int kbps = std::stoi(text);
    if (kbps < kMinKbps || kbps > kMaxKbps) {
        throw UsageError("-b takes a bitrate from 8 to 640 kbps, not " + text);
    }
    return kbps;
}

}  // namespace

Command ParseCommandLine(const std::vector<std::string>& args) {
    Command command;
    if (args.size() == 1 && args[0] == "--help") {
        command.kind = Command::Kind::Help;
        return command;
    }
    if (args.size() == 1 && args[0] == "--version") {
        command.kind = Command::Kind::Version;
        return command;
    }
    EncodeRequest& request = command.request;
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (!paths.empty() || arg.empty() || arg[0] != '-') {
            paths.push_back(arg);
        } else if (arg == "-h") {
            request.highQuality = true;
        } else if (arg == "-m") {
            if (!hasValue || args[i + 1] != "s") {
                throw UsageError("-m takes only 's' (stereo)");
            }
            request.stereo = true;
            ++i;
        } else if (arg == "-b") {
            if (!hasValue) {
                throw UsageError("-b needs a bitrate in kbps");
            }
            request.kbps = ParseKbps(args[++i]);
        } else {
            throw UsageError("unknown option '" + arg + "'");
        }
    }
    if (paths.size() != 2) {
        throw UsageError(paths.size() < 2 ? "needs an input and an output file"
                                          : "takes one input and one output file");
    }
    request.input = paths[0];
    request.output = paths[1];
    return command;
}

std::string UsageText() {
    return "usage: mirelune-encoder [-h] [-m s] [-b KBPS] INPUT OUTPUT\n"
           "Re-encodes the MPEG audio file INPUT (Layer I, II or III) as a constant\n"
           "bitrate MP3 file OUTPUT, keeping its ID3v2, APEv2 and ID3v1 tags.\n"
           "  -h        high quality (LAME's quality 2)\n"
           "  -m s      stereo; a single-channel source stays single-channel\n"
           "  -b KBPS   the bitrate in kbps (LAME picks the nearest it allows)\n"
           "  --help    this text\n"
           "  --version the version of this program and of LAME, and the licence\n";
}

std::string VersionText() {
    return std::string("mirelune-encoder 1.0 (LAME ") + get_lame_version() +
           ")\nLicence: " MIRELUNE_LICENCE "\n";
}

}  // namespace mirelune::encoder

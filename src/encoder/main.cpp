// SPDX-License-Identifier: GPL-3.0-or-later
// mirelune-encoder: re-encodes an MPEG audio file as a constant bitrate MP3
// file the way `lame -h -m s -b KBPS IN OUT` does, keeping the source's tags.
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "encoder/CommandLine.h"
#include "encoder/EncoderFailure.h"
#include "encoder/Reencode.h"

namespace {

constexpr int kUsageExit = 1;
constexpr int kFailureExit = 2;

int Fail(const char* message) {
    std::fprintf(stderr, "mirelune-encoder: %s\n", message);
    return kFailureExit;
}

}  // namespace

int main(int argc, char* argv[]) {
    using namespace mirelune::encoder;
    Command command;
    try {
        command = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "mirelune-encoder: %s (see --help)\n", error.what());
        return kUsageExit;
    }
    switch (command.kind) {
        case Command::Kind::Help:
            std::fputs(UsageText().c_str(), stdout);
            return 0;
        case Command::Kind::Version:
            std::fputs(VersionText().c_str(), stdout);
            return 0;
        case Command::Kind::Encode:
            break;
    }
    try {
        const std::string warning = Reencode(command.request);
        if (!warning.empty()) {
            std::fprintf(stderr, "mirelune-encoder: %s\n", warning.c_str());
        }
    } catch (const EncoderFailure& failure) {
        return Fail(failure.what());
    } catch (const std::bad_alloc&) {
        return Fail("out of memory");
    }
    return 0;
}

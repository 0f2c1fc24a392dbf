// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace mirelune::encoder {

// What `-h -m s -b KBPS IN OUT` asks for; an option left out keeps LAME's
// own default.
struct EncodeRequest {
    bool highQuality = false;  // -h
    bool stereo = false;       // -m s
    std::optional<int> kbps;   // -b
    std::string input;
    std::string output;
};

struct Command {
    enum class Kind { Encode, Help, Version };
    Kind kind = Kind::Encode;
    EncodeRequest request;
};

// A command line the program does not take; the message fits on one line.
class UsageError : public std::runtime_error {
  public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

// args excludes the program name.
Command ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();
std::string VersionText();

}  // namespace mirelune::encoder

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace mirelune::encoder {

// Ends an encode. The message is the whole line the program prints, so it
// names the file and the reason in words a user can act on.
class EncoderFailure : public std::runtime_error {
  public:
    explicit EncoderFailure(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace mirelune::encoder

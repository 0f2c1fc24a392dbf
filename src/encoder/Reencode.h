// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "encoder/CommandLine.h"

namespace mirelune::encoder {

// Decodes request.input and encodes it again into request.output as LAME's
// program does for `lame [-h] [-m s] [-b KBPS] INPUT OUTPUT`, then puts the
// source's tags around the new audio. Returns a line to show about a tag
// that could not be kept, or nothing. Throws EncoderFailure; whatever was at
// the output path then stays.
std::string Reencode(const EncodeRequest& request);

}  // namespace mirelune::encoder

#pragma once

#include "encoder/CommandLine.h"

namespace mirelune::encoder {

// Decodes request.input and encodes it again into request.output as LAME's
// program does for `lame [-h] [-m s] [-b KBPS] INPUT OUTPUT`, then puts the
// source's tags around the new audio. Throws EncoderFailure; the output is
// then gone.
void Reencode(const EncodeRequest& request);

}  // namespace mirelune::encoder

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace mirelune {

// The builds of the encoder the program may carry: one for every x86-64
// processor, and one for processors of the x86-64-v3 level (AVX2, BMI2,
// MOVBE: Haswell, Excavator and later), which encodes the same frames in
// less time.
enum class EncoderBuild { Baseline, X86_64_V3 };

// The build to run: the x86-64-v3 one only where the processor has the level
// and the program carries that build.
EncoderBuild ChooseEncoderBuild(bool processorHasV3, bool v3Embedded);

// Whether this processor, and the system's support for its registers, runs
// code built for x86-64-v3.
bool ProcessorRunsX86_64V3();

}  // namespace mirelune

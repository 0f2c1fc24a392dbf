// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/EncoderBuild.h"

namespace mirelune {

EncoderBuild ChooseEncoderBuild(bool processorHasV3, bool v3Embedded) {
    return processorHasV3 && v3Embedded ? EncoderBuild::X86_64_V3 : EncoderBuild::Baseline;
}

bool ProcessorRunsX86_64V3() {
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
    // libgcc counts AVX only when the system saves its registers (XGETBV), so
    // a kernel without that support gets the baseline build.
    __builtin_cpu_init();
    return __builtin_cpu_supports("x86-64-v3");
#else
    return false;
#endif
}

}  // namespace mirelune

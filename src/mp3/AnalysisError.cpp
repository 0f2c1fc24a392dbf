// SPDX-License-Identifier: GPL-3.0-or-later
#include "AnalysisError.h"

namespace mirelune::mp3 {

const char* AnalysisError::KindName(Kind kind) noexcept {
    switch (kind) {
        case Kind::OutOfRange:
            return "out of range";
        case Kind::Overflow:
            return "overflow";
        case Kind::DivisionByZero:
            return "division by zero";
    }
    return "unknown";
}

std::string AnalysisError::Describe(Kind kind, const std::string& detail) {
    std::string text;
    switch (kind) {
        case Kind::OutOfRange:
            text = "Out of range";
            break;
        case Kind::Overflow:
            text = "Overflow";
            break;
        case Kind::DivisionByZero:
            text = "Division by zero";
            break;
    }
    if (!detail.empty()) {
        text += ": " + detail;
    }
    return text;
}

}  // namespace mirelune::mp3

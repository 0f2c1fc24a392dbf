// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "mp3/AnalysisError.h"

namespace mirelune::test {

// The kind of analysis failure that action ends with; a test failure when it
// ends without one.
inline mp3::AnalysisError::Kind FailureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const mp3::AnalysisError& e) {
        return e.kind();
    }
    ADD_FAILURE() << "no analysis error";
    return mp3::AnalysisError::Kind::DivisionByZero;
}

}  // namespace mirelune::test

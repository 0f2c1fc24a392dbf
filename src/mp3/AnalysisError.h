// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace mirelune::mp3 {

// The analysis never catches these: a malformed file ends ReadMP3Info with one
// of them and the caller decides what a failed analysis means for the user.
class AnalysisError : public std::runtime_error {
  public:
    enum class Kind { OutOfRange, Overflow, DivisionByZero };

    AnalysisError(Kind kind, const std::string& detail)
        : std::runtime_error(Describe(kind, detail)), kind_(kind) {}

    Kind kind() const noexcept { return kind_; }

    // The short machine-readable name: "out of range", "overflow", "division by zero".
    static const char* KindName(Kind kind) noexcept;

  private:
    static std::string Describe(Kind kind, const std::string& detail);

    Kind kind_;
};

class OutOfRangeError : public AnalysisError {
  public:
    explicit OutOfRangeError(const std::string& detail) : AnalysisError(Kind::OutOfRange, detail) {}
};

class OverflowError : public AnalysisError {
  public:
    explicit OverflowError(const std::string& detail) : AnalysisError(Kind::Overflow, detail) {}
};

class DivisionByZeroError : public AnalysisError {
  public:
    explicit DivisionByZeroError(const std::string& detail)
        : AnalysisError(Kind::DivisionByZero, detail) {}
};

}  // namespace mirelune::mp3

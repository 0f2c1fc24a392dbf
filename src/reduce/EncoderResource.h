// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include "reduce/EncoderBuild.h"

namespace mirelune {

// The encoder program the build embedded for this processor (see
// ChooseEncoderBuild).
QByteArray LoadEncoderBytes();

// One build of the embedded encoder; empty when the program does not carry
// it (only the baseline build is always there). Unlike LoadEncoderBytes, not
// replaced by an EncoderBytesOverride.
QByteArray LoadEncoderBytes(EncoderBuild build);

// While one of these lives, LoadEncoderBytes returns the given bytes instead
// of the embedded program, so tests can stand a small script in for the
// encoder. Not for nesting across threads: the program has one UI thread.
class EncoderBytesOverride {
  public:
    explicit EncoderBytesOverride(QByteArray bytes);
    ~EncoderBytesOverride();

    EncoderBytesOverride(const EncoderBytesOverride&) = delete;
    EncoderBytesOverride& operator=(const EncoderBytesOverride&) = delete;

  private:
    QByteArray previous_;
    bool hadPrevious_ = false;
};

}  // namespace mirelune

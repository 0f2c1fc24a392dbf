// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

namespace mirelune {

// The encoder program the build embedded: Debian's LAME, found when the
// build was configured.
QByteArray LoadEncoderBytes();

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

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <stdexcept>

namespace mirelune {

// A failure raised by our own code. Its text is what the error report shows,
// so it must read well to a user.
class Failure : public std::runtime_error {
  public:
    explicit Failure(const QString& text) : std::runtime_error(text.toStdString()) {}

    QString text() const { return QString::fromUtf8(what()); }
};

}  // namespace mirelune

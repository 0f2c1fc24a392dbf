// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace mirelune {

// What an encoder says on its error output, read as it comes: only its last
// line that says something can explain a failure. Progress display and
// terminal codes say nothing, and a line that never ends is held only up
// to a bound.
class EncoderErrorLines {
  public:
    void append(const QByteArray& bytes);
    // The output has ended: an unfinished last line counts too.
    void endOfOutput();
    // The last line that said something; empty for none.
    const QString& lastLine() const { return lastLine_; }

  private:
    void endLine();

    QByteArray partialLine_;
    QString lastLine_;
};

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

#include "shell/Failure.h"

namespace mirelune {

// A stored text that does not convert. It fails the step that reads it, and
// that step's guard shows the text.
class ConversionFailure : public Failure {
  public:
    using Failure::Failure;
};

// "True" or "False": how booleans are stored.
QString BooleanText(bool value);

// Decimal digits with an optional sign (surrounding blanks allowed), within
// -32768 to 32767; anything else throws ConversionFailure.
qint16 ToIndex16(const QString& text);

// "True" or "False" in any letter case, or a number (0 is false, any other
// number true); anything else throws ConversionFailure.
bool ToBoolean(const QString& text);

}  // namespace mirelune

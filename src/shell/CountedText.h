// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace mirelune {

// A translatable text that holds a count n. one is the text for a single
// thing, many the numerus text with "%n"; mark both with QT_TRANSLATE_NOOP
// and QT_TRANSLATE_N_NOOP so they are extracted. Until an English
// translation supplies numerus forms, English gets its singular only this
// way; a translation's own forms still apply to every other count.
QString CountedText(const char* context, const char* one, const char* many, int n);

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/CountedText.h"

#include <QCoreApplication>

namespace mirelune {

QString CountedText(const char* context, const char* one, const char* many, int n) {
    return n == 1 ? QCoreApplication::translate(context, one)
                  : QCoreApplication::translate(context, many, nullptr, n);
}

}  // namespace mirelune

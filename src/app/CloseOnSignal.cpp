// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CloseOnSignal.h"

#include <QApplication>

namespace mirelune {

CloseOnSignal::CloseOnSignal()
    : stop_([] {
          QApplication::closeAllWindows();
          // Also when some window would not close, or none was shown yet.
          QCoreApplication::exit(0);
      }) {}

}  // namespace mirelune

#include "cli/StopOnSignal.h"

#include <QCoreApplication>

namespace mirelune::cli {

StopOnSignal::StopOnSignal()
    : endSignals_([this] {
          stopped_ = true;
          QCoreApplication::exit(kExitInterrupted);
      }) {}

}  // namespace mirelune::cli

#include "cli/StopOnSignal.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace mirelune::cli {

#ifdef Q_OS_UNIX
StopOnSignal::StopOnSignal() {
    if (::pipe(fds_) != 0) {
        return;
    }
    writeEnd_ = fds_[1];
    notifier_ = std::make_unique<QSocketNotifier>(fds_[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        stopped_ = true;
        QCoreApplication::exit(kExitInterrupted);
    });
    struct sigaction action {};
    action.sa_handler = &StopOnSignal::Notify;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &oldInt_);
    sigaction(SIGTERM, &action, &oldTerm_);
}

StopOnSignal::~StopOnSignal() {
    if (!notifier_) {
        return;
    }
    sigaction(SIGINT, &oldInt_, nullptr);
    sigaction(SIGTERM, &oldTerm_, nullptr);
    notifier_.reset();
    writeEnd_ = -1;
    ::close(fds_[0]);
    ::close(fds_[1]);
}

void StopOnSignal::Notify(int) {
    const char byte = 1;
    if (writeEnd_ >= 0) {
        [[maybe_unused]] const auto written = ::write(writeEnd_, &byte, 1);
    }
}
#else
StopOnSignal::StopOnSignal() = default;
StopOnSignal::~StopOnSignal() = default;
#endif

}  // namespace mirelune::cli

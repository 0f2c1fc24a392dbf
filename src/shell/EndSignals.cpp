#include "shell/EndSignals.h"

#include <QSocketNotifier>
#include <utility>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace mirelune {

#ifdef Q_OS_UNIX
EndSignals::EndSignals(std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {
    // Close-on-exec keeps the pipe out of the encoders; a full pipe must not
    // block a signal handler.
    if (::pipe2(fds_, O_CLOEXEC) != 0) {
        return;
    }
    ::fcntl(fds_[1], F_SETFL, O_NONBLOCK);
    writeEnd_ = fds_[1];
    notifier_ = std::make_unique<QSocketNotifier>(fds_[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        char bytes[16];
        [[maybe_unused]] const auto read = ::read(fds_[0], bytes, sizeof bytes);
        onSignal_();
    });
    struct sigaction action {};
    action.sa_handler = &EndSignals::Notify;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &oldInt_);
    sigaction(SIGTERM, &action, &oldTerm_);
    sigaction(SIGHUP, &action, &oldHup_);
}

EndSignals::~EndSignals() {
    if (!notifier_) {
        return;
    }
    sigaction(SIGINT, &oldInt_, nullptr);
    sigaction(SIGTERM, &oldTerm_, nullptr);
    sigaction(SIGHUP, &oldHup_, nullptr);
    notifier_.reset();
    writeEnd_ = -1;
    ::close(fds_[0]);
    ::close(fds_[1]);
}

void EndSignals::Notify(int) {
    const char byte = 1;
    if (writeEnd_ >= 0) {
        [[maybe_unused]] const auto written = ::write(writeEnd_, &byte, 1);
    }
}
#else
EndSignals::EndSignals(std::function<void()>) {}
EndSignals::~EndSignals() = default;
#endif

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/StopOnSignal.h"

#include <QSocketNotifier>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace mirelune {

#ifdef Q_OS_UNIX
StopOnSignal::StopOnSignal(std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {
    if (::pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    arrived_ = 0;
    writeEnd_ = fds_[1];
    notifier_ = std::make_unique<QSocketNotifier>(fds_[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        char bytes[16];
        while (::read(fds_[0], bytes, sizeof bytes) > 0) {
        }
        if (stopped_) {
            return;  // a second signal while the first is still being handled
        }
        stopped_ = true;
        if (onSignal_) {
            onSignal_();
        }
    });
    struct sigaction action {};
    action.sa_handler = &StopOnSignal::Notify;
    sigemptyset(&action.sa_mask);
    // Calls the signal lands in carry on instead of failing with EINTR.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &oldInt_);
    sigaction(SIGTERM, &action, &oldTerm_);
    sigaction(SIGHUP, &action, &oldHup_);
}

StopOnSignal::~StopOnSignal() {
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

bool StopOnSignal::stopRequested() const {
    return arrived_ != 0 || stopped_;
}

void StopOnSignal::Notify(int) {
    // The code the signal interrupted may be about to read errno.
    const int savedErrno = errno;
    arrived_ = 1;
    const char byte = 1;
    if (writeEnd_ >= 0) {
        [[maybe_unused]] const auto written = ::write(writeEnd_, &byte, 1);
    }
    errno = savedErrno;
}
#else
StopOnSignal::StopOnSignal(std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {}
StopOnSignal::~StopOnSignal() = default;
bool StopOnSignal::stopRequested() const {
    return stopped_;
}
#endif

}  // namespace mirelune

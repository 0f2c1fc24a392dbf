// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <functional>
#include <memory>

#ifdef Q_OS_UNIX
#include <signal.h>

#include <csignal>
#endif

class QSocketNotifier;

namespace mirelune {

// While one lives, SIGINT (Ctrl+C), SIGTERM (a plain kill) and SIGHUP (the
// terminal or the session going away) no longer end the program on the spot.
// onSignal runs once instead, from the event loop, where it can stop the
// encoders and have their temporary files and the encoder copy removed
// rather than left behind. One at a time per program.
class StopOnSignal {
  public:
    explicit StopOnSignal(std::function<void()> onSignal);
    ~StopOnSignal();
    StopOnSignal(const StopOnSignal&) = delete;
    StopOnSignal& operator=(const StopOnSignal&) = delete;

    // A signal arrived, whether or not the event loop has handled it yet:
    // for work that runs outside the event loop and can stop between steps.
    bool stopRequested() const;

    // onSignal has run.
    bool stopped() const { return stopped_; }

  private:
    std::function<void()> onSignal_;
    bool stopped_ = false;
#ifdef Q_OS_UNIX
    static void Notify(int);

    static inline volatile std::sig_atomic_t writeEnd_ = -1;
    static inline volatile std::sig_atomic_t arrived_ = 0;
    int fds_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
    struct sigaction oldHup_ {};
#endif
};

}  // namespace mirelune

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

// While one lives, SIGINT, SIGTERM and SIGHUP (Ctrl+C, a plain kill, a closed
// terminal) no longer end the process on the spot: each arrives as a call of
// onSignal from the event loop, so the program can stop its encoders and
// remove their files as a normal ending does. The handlers that were there
// before come back when it goes. One at a time per process.
class EndSignals {
  public:
    explicit EndSignals(std::function<void()> onSignal);
    ~EndSignals();
    EndSignals(const EndSignals&) = delete;
    EndSignals& operator=(const EndSignals&) = delete;

  private:
#ifdef Q_OS_UNIX
    static void Notify(int);

    static inline volatile std::sig_atomic_t writeEnd_ = -1;
    std::function<void()> onSignal_;
    int fds_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
    struct sigaction oldHup_ {};
#endif
};

}  // namespace mirelune

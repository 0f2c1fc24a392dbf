#pragma once

#include <QtGlobal>
#include <memory>

#ifdef Q_OS_UNIX
#include <signal.h>

#include <csignal>
#endif

class QSocketNotifier;

namespace mirelune::cli {

// The shell's convention for a program ended by Ctrl+C.
inline constexpr int kExitInterrupted = 130;

// While one lives, Ctrl+C or a plain kill ends the run through the event loop
// rather than on the spot, so running encoders are stopped and their
// temporary files and the encoder copy removed instead of left behind.
class StopOnSignal {
  public:
    StopOnSignal();
    ~StopOnSignal();
    StopOnSignal(const StopOnSignal&) = delete;
    StopOnSignal& operator=(const StopOnSignal&) = delete;

    bool stopped() const { return stopped_; }

  private:
    bool stopped_ = false;
#ifdef Q_OS_UNIX
    static void Notify(int);

    static inline volatile std::sig_atomic_t writeEnd_ = -1;
    int fds_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
#endif
};

}  // namespace mirelune::cli

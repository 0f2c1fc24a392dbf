#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <csignal>

#include "shell/EndSignals.h"

namespace mirelune {
namespace {

// The handler in place for a signal, without changing it.
void (*HandlerOf(int signal))(int) {
    struct sigaction current {};
    sigaction(signal, nullptr, &current);
    return current.sa_handler;
}

TEST(EndSignals, EachEndingSignalArrivesThroughTheEventLoop) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        void (*const before)(int) = HandlerOf(signal);
        int calls = 0;
        {
            const EndSignals endSignals([&calls] {
                ++calls;
                QCoreApplication::exit(0);
            });
            ASSERT_EQ(std::raise(signal), 0);
            // The process is still here, and nothing ran inside the handler.
            EXPECT_EQ(calls, 0);
            // Only a safeguard against a hang: the signal must end the loop.
            QTimer hang;
            hang.setSingleShot(true);
            QObject::connect(&hang, &QTimer::timeout, [] { QCoreApplication::exit(1); });
            hang.start(60000);
            EXPECT_EQ(QCoreApplication::exec(), 0);
            EXPECT_EQ(calls, 1);
        }
        EXPECT_EQ(HandlerOf(signal), before);
    }
}

}  // namespace
}  // namespace mirelune

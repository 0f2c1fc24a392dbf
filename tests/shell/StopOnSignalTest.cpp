// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/StopOnSignal.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <csignal>

#include <signal.h>

namespace mirelune {
namespace {

// Runs the event loop until done() or a few seconds have passed.
template <class Done>
void RunEventsUntil(Done done) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) {
            loop.quit();
        }
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    poll.start(1);
    loop.exec();
}

TEST(StopOnSignal, EachStopSignalIsHandledOnceFromTheEventLoop) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        struct sigaction before {};
        sigaction(signal, nullptr, &before);
        int calls = 0;
        {
            StopOnSignal stop([&] { ++calls; });
            EXPECT_FALSE(stop.stopRequested());
            std::raise(signal);
            std::raise(signal);
            // Known at once to code outside the event loop; acted on only there.
            EXPECT_TRUE(stop.stopRequested());
            EXPECT_EQ(calls, 0);
            RunEventsUntil([&] { return calls > 0; });
            QCoreApplication::processEvents();
            EXPECT_EQ(calls, 1);
            EXPECT_TRUE(stop.stopped());
        }
        // Gone with it: the signal's earlier handling is back.
        struct sigaction now {};
        sigaction(signal, nullptr, &now);
        EXPECT_EQ(now.sa_handler, before.sa_handler);
    }
}

}  // namespace
}  // namespace mirelune

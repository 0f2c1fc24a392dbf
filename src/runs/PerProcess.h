// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QtGlobal>
#include <mutex>

namespace mirelune {

// A value chosen once per process, and again in a process forked from it:
// a forked process is a run of its own, and what it leaves must not pass
// for its parent's, nor the parent's for its.
template <typename T>
class PerProcess {
  public:
    template <typename Make>
    T get(Make make) {
        const std::lock_guard<std::mutex> lock(mutex_);
        const qint64 pid = QCoreApplication::applicationPid();
        if (chosenBy_ != pid) {
            chosenBy_ = pid;
            value_ = make();
        }
        return value_;
    }

  private:
    std::mutex mutex_;
    qint64 chosenBy_ = -1;
    T value_;
};

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <exception>
#include <utility>

#include "shell/ErrorReport.h"

namespace mirelune {

class WindowLayer;

// Runs one operation's numbered steps. A failure inside a step, or anywhere
// below it in code without a guard of its own, is reported with this
// operation's location and the current step, and the operation goes on with
// whatever the caller writes next:
//
//     ErrorGuard g(window, location::kPushButton2Click);
//     g.step(104, [&] { ... });
//     if (g.test(106, [&] { return ...; })) { ... }   // a failed test is true
//
// Inside a loop the next iteration simply calls step() again, so a failure
// skips only the rest of its own step.
class ErrorGuard {
  public:
    ErrorGuard(WindowLayer& window, QString location)
        : window_(window), location_(std::move(location)) {}

    ErrorGuard(const ErrorGuard&) = delete;
    ErrorGuard& operator=(const ErrorGuard&) = delete;

    template <class Body>
    void step(int number, Body&& body) noexcept {
        current_ = number;
        try {
            std::forward<Body>(body)();
        } catch (...) {
            report(std::current_exception());
        }
    }

    // A test that fails is taken as true: the operation resumes in its "then"
    // branch, whatever the test would have given.
    template <class Predicate>
    bool test(int number, Predicate&& predicate) noexcept {
        current_ = number;
        try {
            return static_cast<bool>(std::forward<Predicate>(predicate)());
        } catch (...) {
            report(std::current_exception());
            return true;
        }
    }

    // The number of the last step begun; 0 before the first.
    int currentStep() const { return current_; }
    const QString& location() const { return location_; }

  private:
    void report(std::exception_ptr failure) noexcept;

    WindowLayer& window_;
    QString location_;
    int current_ = 0;
};

// For handlers that carry no guard of their own: a failure must neither end
// the program nor cross Qt's event loop, so it is reported as line 0 of the
// handler's location. Returns whether body ran without failure. In a slot:
//
//     connect(list, &QListView::doubleClicked, this, [this](const QModelIndex& i) {
//         CatchAll(window_, location::FormHandler("ListView1_DblClick"), [&] { ... });
//     });
template <class Body>
bool CatchAll(WindowLayer& window, const QString& location, Body&& body) noexcept {
    bool completed = false;
    ErrorGuard(window, location).step(0, [&] {
        std::forward<Body>(body)();
        completed = true;
    });
    return completed;
}

}  // namespace mirelune

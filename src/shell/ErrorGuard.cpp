// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ErrorGuard.h"

namespace mirelune {

void ErrorGuard::report(std::exception_ptr failure) noexcept {
    QString text;
    try {
        text = DescribeFailure(failure);
    } catch (...) {
    }
    ShowErrorReport(window_, text, location_, current_);
}

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reduce/ReduceJobView.h"

namespace mirelune {

// The reduce options' controls come back whatever way the job ends.
class OptionsLock {
  public:
    explicit OptionsLock(ReduceJobView& view) : view_(view) { view_.setOptionsEnabled(false); }
    ~OptionsLock() { view_.setOptionsEnabled(true); }
    OptionsLock(const OptionsLock&) = delete;
    OptionsLock& operator=(const OptionsLock&) = delete;

  private:
    ReduceJobView& view_;
};

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace mirelune {

// ReduceBusy is cleared whatever way the job ends.
class BusyFlag {
  public:
    explicit BusyFlag(bool& busy) : busy_(busy) {}
    ~BusyFlag() { busy_ = false; }
    BusyFlag(const BusyFlag&) = delete;
    BusyFlag& operator=(const BusyFlag&) = delete;

  private:
    bool& busy_;
};

}  // namespace mirelune

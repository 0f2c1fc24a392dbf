// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Form1.h"
#include "filelist/FileList.h"
#include "reduce/ReduceJobView.h"

namespace mirelune {

// The main window as the reduce job sees it: the list's rows, the options as
// the controls show them at the moment of asking, the bar and the pointer.
class Form1JobView : public ReduceJobView {
  public:
    explicit Form1JobView(Form1& form) : form_(form) {}

    int rowCount() const override { return form_.fileList().count(); }
    QString rowText(int row) const override { return form_.fileList().text(row); }
    ReduceOptions options() const override { return form_.reduceOptions(); }
    void setOptionsEnabled(bool enabled) override { form_.setReduceOptionsEnabled(enabled); }
    void setBusyPointer(bool busy) override { form_.setBusyPointer(busy); }
    WindowLayer& window() override { return form_.windowLayer(); }

    int progressValue() const override { return form_.progressValue(); }
    void setProgressValue(int value) override { form_.setProgressValue(value); }
    QString progressText() const override { return form_.progressText(); }
    void setProgressText(const QString& text) override { form_.setProgressText(text); }

  private:
    Form1& form_;
};

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/WindowLayer.h"

namespace mirelune {

// A window layer for programs without a window, such as the command-line
// tool walking folders: boxes are written to standard error, questions get
// the cautious answer (No, or Cancel), and there are no events to handle.
class HeadlessWindowLayer : public WindowLayer {
  public:
    MessageAnswer messageBox(const QString& text, const QString& title, MessageButtons buttons,
                             MessageIcon icon) override;
    QString inputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    QString browseForFolder(const QString& title, const QString& initialFolder) override;
    QStringList openFiles(const QString& title, const QString& filter) override;
    bool openUrl(const QUrl& url) override;
    void yieldToEvents() override {}
};

}  // namespace mirelune

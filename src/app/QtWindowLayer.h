// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

#include "shell/WindowLayer.h"

namespace mirelune {

// The window layer on real Qt dialogs, each modal to the owner window.
class QtWindowLayer : public WindowLayer {
  public:
    explicit QtWindowLayer(QWidget* owner = nullptr) : owner_(owner) {}

    void setOwner(QWidget* owner) { owner_ = owner; }
    QWidget* owner() const { return owner_; }

    MessageAnswer messageBox(const QString& text, const QString& title, MessageButtons buttons,
                             MessageIcon icon) override;
    QString inputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    QString browseForFolder(const QString& title, const QString& initialFolder) override;
    QStringList openFiles(const QString& title, const QString& filter) override;
    bool openUrl(const QUrl& url) override;
    void yieldToEvents() override;
    // The owner window's locale.
    QLocale locale() const override;

  private:
    // The owner may close while a long operation still holds this layer.
    QPointer<QWidget> owner_;
};

}  // namespace mirelune

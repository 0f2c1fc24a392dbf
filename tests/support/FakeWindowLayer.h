// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <deque>
#include <functional>
#include <iosfwd>
#include <vector>

#include "shell/WindowLayer.h"

namespace mirelune::test {

// One message box as the user would have seen it.
struct Box {
    QString title;
    QString text;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;

    friend bool operator==(const Box& a, const Box& b) {
        return a.title == b.title && a.text == b.text && a.buttons == b.buttons && a.icon == b.icon;
    }
    friend bool operator!=(const Box& a, const Box& b) { return !(a == b); }
};

// Any call that would have put something in front of the user.
struct Interaction {
    enum class Kind { MessageBox, InputBox, FolderBrowser, OpenFiles, OpenUrl };

    Kind kind = Kind::MessageBox;
    QString title;
    // The box's text, or the input box's prompt, or the open-files filter.
    QString text;
    // The input box's default text, or the folder browser's initial folder.
    QString initial;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    QUrl url;
};

// A window layer that answers from queues and records every box and dialog in
// order. Unscripted questions get the cautious answer: No for a Yes/No box,
// Cancel for a Yes/No/Cancel box, Cancel (empty) for the input box and the
// dialogs. OK boxes need no script.
class FakeWindowLayer : public WindowLayer {
  public:
    void queueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
    void queueInput(const QString& text) { inputs_.push_back(text); }
    void queueFolder(const QString& folder) { folders_.push_back(folder); }
    void queueFiles(const QStringList& files) { files_.push_back(files); }

    // Actions run inside yieldToEvents() and inside each message box, where
    // the real layer would let other handlers run: a test can act "during" them.
    void onYield(std::function<void()> action) { onYield_ = std::move(action); }
    void onMessageBox(std::function<void(const Box&)> action) { onBox_ = std::move(action); }

    const std::vector<Interaction>& interactions() const { return interactions_; }
    // Only the message boxes, in order.
    const std::vector<Box>& boxes() const { return boxes_; }
    int yieldCount() const { return yields_; }
    // Scripted answers nobody asked for; a test usually expects none left.
    std::size_t unusedAnswers() const {
        return answers_.size() + inputs_.size() + folders_.size() + files_.size();
    }
    void clearRecord();
    // What openUrl answers from now on: whether something took the address.
    void setOpenUrlAnswer(bool opens) { opensUrls_ = opens; }
    // The window's locale, the C locale until set.
    void setLocale(const QLocale& locale) { locale_ = locale; }
    QLocale locale() const override { return locale_; }

    MessageAnswer messageBox(const QString& text, const QString& title, MessageButtons buttons,
                             MessageIcon icon) override;
    QString inputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    QString browseForFolder(const QString& title, const QString& initialFolder) override;
    QStringList openFiles(const QString& title, const QString& filter) override;
    bool openUrl(const QUrl& url) override;
    void yieldToEvents() override;

  private:
    std::deque<MessageAnswer> answers_;
    std::deque<QString> inputs_;
    std::deque<QString> folders_;
    std::deque<QStringList> files_;
    std::function<void()> onYield_;
    std::function<void(const Box&)> onBox_;
    std::vector<Interaction> interactions_;
    std::vector<Box> boxes_;
    int yields_ = 0;
    bool opensUrls_ = true;
    QLocale locale_ = QLocale::c();
};

// Readable failure messages in GoogleTest.
void PrintTo(const Box& box, std::ostream* out);

}  // namespace mirelune::test

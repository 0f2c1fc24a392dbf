// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace mirelune {

enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageIcon { None, Warning, Information, Question, Critical };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// Everything modal or desktop-wide that the handlers need goes through this one
// interface, so the handlers can run without a display: QtWindowLayer shows
// real dialogs, and tests script the answers and record what was shown.
class WindowLayer {
  public:
    WindowLayer();
    virtual ~WindowLayer() = default;

    WindowLayer(const WindowLayer&) = delete;
    WindowLayer& operator=(const WindowLayer&) = delete;

    // Modal; returns once the user has answered. Closing a Yes/No box without
    // choosing counts as No, closing a Yes/No/Cancel box as Cancel.
    virtual MessageAnswer messageBox(const QString& text, const QString& title,
                                     MessageButtons buttons, MessageIcon icon) = 0;

    // The typed text, or an empty text when the user cancelled.
    virtual QString inputBox(const QString& prompt, const QString& title,
                             const QString& defaultText) = 0;

    // A real folder opened at initialFolder when it exists; empty when cancelled.
    virtual QString browseForFolder(const QString& title, const QString& initialFolder) = 0;

    // Picked paths in the dialog's order, empty when cancelled. filter uses
    // Qt's form, for example "Mp3 Files (*.mp3)".
    virtual QStringList openFiles(const QString& title, const QString& filter) = 0;

    // Opens a folder (file: URL) or a web address with the desktop's own handler.
    virtual bool openUrl(const QUrl& url) = 0;

    // Lets pending window events run, so long operations keep the window alive.
    virtual void yieldToEvents() = 0;

    // How numbers and sizes are written in what the window shows: the
    // window's own locale. Without a window, the C locale, as scripts read.
    virtual QLocale locale() const { return QLocale::c(); }

    // The title of every box that has no title of its own.
    QString applicationTitle() const { return applicationTitle_; }
    void setApplicationTitle(const QString& title) { applicationTitle_ = title; }

    // Set once the window is closing: long operations that run inside the
    // window's yields (a folder walk) stop at their next folder instead of
    // keeping an invisible program alive until they finish.
    bool isClosing() const { return closing_; }
    void setClosing() { closing_ = true; }

    // A plain message: OK button, no icon, the application title.
    void showMessage(const QString& text);
    bool openFolder(const QString& path);
    bool openAddress(const QString& address);

  private:
    QString applicationTitle_;
    bool closing_ = false;
};

// Message texts keep their CR and CR LF breaks for the record; a text widget
// shows a bare CR as nothing, so displays turn every break into a line feed.
QString LineBreaksForDisplay(const QString& text);

}  // namespace mirelune

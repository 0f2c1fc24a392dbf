// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCursor>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "app/PointerRules.h"
#include "filelist/CandidateWalk.h"
#include "filelist/FileListFiller.h"
#include "filelist/RefusedFiles.h"
#include "filelist/RowDrag.h"
#include "reduce/ReduceOptions.h"
#include "shell/SettingsStore.h"

class QComboBox;
class QDragMoveEvent;
class QDropEvent;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeView;

namespace mirelune {

class CaptionProgressBar;
class FileList;
class ReduceJob;
class WindowLayer;
namespace mp3 {
class MP3Info;
}

// The program's one working window. It owns the controls, the file list, the
// MP3 reader and the window layer; each handler hands its work to the module
// that owns the behaviour. Controls carry their form names, as member names
// and as object names.
class Form1 : public QWidget {
    Q_OBJECT

  public:
    // What start-up takes from outside the window; tests replace each part.
    struct Environment {
        // Where the samples, skin and pointer files are looked for;
        // ApplicationFolder() when empty.
        QString applicationFolder;
        // The settings store's folder; the user's configuration folder when empty.
        QString settingsFolder;
        // The home-page draw, 1 to 100; a random draw when empty.
        std::function<int()> drawPercent;
        // The home page that draw opens, none when empty; the configured one
        // when not given.
        std::optional<QString> homePageAddress;
    };

    explicit Form1(std::unique_ptr<WindowLayer> window, Environment environment = {},
                   QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up: look, titles, list columns, the MP3 reader, the bitrate list
    // and the user's last choices. Call once, before show().
    void Form_Load();

    // The files and folders the program was started with ("Open With" in a
    // file manager), added as a drop of the same paths would add them. A
    // path that does not exist, and leftOut (names no text can hold), are
    // named in the drop's one box.
    void OpenPaths(const QStringList& paths, const RefusedFiles& leftOut = RefusedFiles());

    WindowLayer& windowLayer() { return *window_; }
    SettingsStore& settings() { return settings_; }
    // Where the samples, skin and pointer files are, without a trailing separator.
    QString applicationFolder() const { return applicationFolder_; }
    // The window's one MP3 reader; throws Failure before start-up made it.
    mp3::MP3Info& mp3Info();

    // The rows, 1-based: count(), text(i), append(), remove(i), setBitrateText(i, ...).
    FileList& fileList() { return *fileList_; }
    // What AddCandidateFile works on; throws Failure before start-up.
    FileListFiller fileListFiller();

    // The reduce options as the controls hold them now.
    ReduceOptions reduceOptions() const;
    // The bitrate list and the save options, as a running job keeps them.
    void setReduceOptionsEnabled(bool enabled);

    int progressValue() const;
    void setProgressValue(int percent);
    QString progressText() const;
    void setProgressText(const QString& caption);

    // The busy pointer marks a long operation. While it shows, moving the
    // pointer changes nothing, and the list refuses removing, clearing and
    // reordering (as it does all the while a job runs).
    void setBusyPointer(bool busy);
    bool isBusy() const { return pointerKind_ == PointerKind::Busy; }
    PointerKind pointerKind() const { return pointerKind_; }

    // True once the user closed the window; an operation still running inside
    // the window's event handling should stop where it is.
    bool isClosing() const { return closing_; }

    // Whether "Start Reducing" is running.
    bool isReducing() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private slots:
    void PushButton1_Click();
    void PushButton2_Click();
    void PushButton3_Click();
    void PushButton4_Click();
    void PushButton5_Click();
    void PushButton7_Click();

  private:
    void createControls();
    void connectHandlers();
    void connectOptionHandlers();
    template <class Body>
    void runWithCatchAll(const char* handlerName, Body&& body);

    void Form_QueryUnload();

    // Reduce options.
    void Combo1_Click(int index);
    void OptionClick();
    void Text1_Change(const QString& text);

    // File list.
    // Rows stay as they are while the busy pointer shows or a job runs: the
    // job reads row i only when it gets there.
    bool listLocked() const;
    // AddCandidateFile for whatever walks or drops files into the list.
    CandidateCallback candidateAdder();
    void RemoveSelectedEntry();
    void ListView1_MouseDown(const QPoint& position);
    void ListView1_MouseMove(const QPoint& position);
    void ListView1_MouseUp();
    void ListView1_OLEDragOver(QDragMoveEvent& event);
    void ListView1_OLEDragDrop(QDropEvent& event);

    // Pointer.
    void setPointerKind(PointerKind kind);
    PointerArea pointerAreaOf(const QObject* widget) const;
    QString mouseMoveHandlerOf(const QObject* widget) const;

    std::unique_ptr<WindowLayer> window_;
    QString applicationFolder_;
    QString homePageAddress_;
    std::function<int()> drawPercent_;
    SettingsStore settings_;
    std::unique_ptr<mp3::MP3Info> mp3Info_;
    FileList* fileList_ = nullptr;
    RowDrag rowDrag_;
    PointerKind pointerKind_ = PointerKind::Default;
    std::optional<QCursor> handPointer_;
    std::unique_ptr<ReduceJob> reduceJob_;
    bool closing_ = false;
    bool tearingDown_ = false;

    QTreeView* ListView1 = nullptr;
    QPushButton* PushButton1 = nullptr;
    QPushButton* PushButton3 = nullptr;
    QPushButton* PushButton4 = nullptr;
    QPushButton* PushButton5 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QComboBox* Combo1 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QRadioButton* Option1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* PushButton7 = nullptr;
    QRadioButton* Option2 = nullptr;
    QPushButton* PushButton2 = nullptr;
    CaptionProgressBar* ProgressBar1 = nullptr;
};

}  // namespace mirelune

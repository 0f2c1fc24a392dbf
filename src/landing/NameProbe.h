// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <utility>

#include "folders/RealFolders.h"

namespace mirelune {

// Names are tried where no job may want them: a file made at a candidate
// output name, even for an instant, makes another run planning at that
// moment skip its source as taken, and a kill in between leaves it behind.
// So each trial is made inside a private folder of ours, made for the trials
// in the folder whose target they are for (name limits are per name, so a
// name fits there exactly when it fits beside it), and removed with it.
inline constexpr char kProbeFolderPrefix[] = ".mirelune-probe-";

// No trial keeps its folder unchanged this long: an older probe folder was
// left by a run that was killed.
inline constexpr qint64 kProbeQuietSeconds = 60 * 60;

// One probe folder ".mirelune-probe-XXXXXXXX" in folder, made at the first
// trial (with mode 0700, by descriptor, never through a link) and removed
// when this goes. Making it first removes, once per folder and process, the
// probe folders that dead runs left there (see SweepDeadProbeFolders).
class NameProbe {
  public:
    explicit NameProbe(QString folder) : folder_(std::move(folder)) {}
    ~NameProbe();
    NameProbe(const NameProbe&) = delete;
    NameProbe& operator=(const NameProbe&) = delete;

    // The folder whose names are tried.
    const QString& folder() const { return folder_; }

    // Makes a file named name in the probe folder and removes it again: 0
    // when the target took the name, else the system's error; the error of
    // making the probe folder when that could not be made.
    int tryName(const QString& name);

    // Called while a trial's file exists, to see what others see then.
    void setWhileMade(std::function<void()> whileMade) { whileMade_ = std::move(whileMade); }

  private:
    bool open();
    void close();

    QString folder_;
    FolderHandle parent_;
    FolderHandle probe_;
    QByteArray name_;
    int error_ = 0;
    std::function<void()> whileMade_;
};

#ifdef Q_OS_UNIX
// Removes from the open folder the probe folders of this user that have not
// changed for kProbeQuietSeconds before now (seconds since the epoch, by the
// target's own clock), each
// only when it holds nothing but empty files of this user: a folder holding
// anything else, or a link, stays as it is.
void SweepDeadProbeFolders(const FolderHandle& folder, qint64 now);
#endif

}  // namespace mirelune

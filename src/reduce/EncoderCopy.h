// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

class QTemporaryDir;

namespace mirelune {

// "lame", or "lame.exe" where programs need the extension.
QString EncoderFileName();

// Where the private encoder folders are made: the "TEMP" folder when that
// variable is set and not empty, else the system's temporary folder.
QString EncoderFolderBase();

// The folders tried in turn, for systems where the temporary folder does not
// let programs run (mounted noexec): EncoderFolderBase(), then
// $XDG_RUNTIME_DIR when set, then the user's cache folder
// (~/.cache/mirelune).
QStringList EncoderFolderBases();

// The encoder program written out for one job. It lives in a folder made for
// that job that only the user can enter, so no other user can swap the
// program between writing and running it, and a file someone placed at a
// predictable path is never run. The folder and everything in it go when the
// copy is removed or destroyed. Before it is made, the encoder folders of
// runs that were killed outright are removed from every place one may be
// (see SweepEncoderFolders).
//
// The copy is started once with --version where it is written: when the
// system refuses to run programs from that folder, it moves on to the next
// of EncoderFolderBases().
class EncoderCopy {
  public:
    // Throws Failure when the folder or the program cannot be written, or
    // when no folder lets it run.
    explicit EncoderCopy(const QByteArray& bytes);
    ~EncoderCopy();

    EncoderCopy(const EncoderCopy&) = delete;
    EncoderCopy& operator=(const EncoderCopy&) = delete;

    // The program's full path; empty once removed.
    const QString& path() const { return path_; }
    const QString& folder() const { return folder_; }

    // Quietly removes the program and its folder; harmless to repeat.
    void remove() noexcept;

  private:
    // Writes the program into a new private folder inside base; throws
    // Failure when it cannot.
    void writeInto(const QString& base, const QByteArray& bytes);
    // Whether the system lets the copy run where it is.
    bool runsHere() const;

    std::unique_ptr<QTemporaryDir> dir_;
    QString folder_;
    QString path_;
};

}  // namespace mirelune

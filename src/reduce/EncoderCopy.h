#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

class QTemporaryDir;

namespace mirelune {

// "lame", or "lame.exe" where programs need the extension.
QString EncoderFileName();

// Where the private encoder folders are made: the "TEMP" folder when that
// variable is set and not empty, else the system's temporary folder.
QString EncoderFolderBase();

// The encoder program written out for one job. It lives in a folder made for
// that job that only the user can enter, so no other user can swap the
// program between writing and running it, and a file someone placed at a
// predictable path is never run. The folder and everything in it go when the
// copy is removed or destroyed.
class EncoderCopy {
  public:
    // Throws Failure when the folder or the program cannot be written.
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
    std::unique_ptr<QTemporaryDir> dir_;
    QString folder_;
    QString path_;
};

}  // namespace mirelune

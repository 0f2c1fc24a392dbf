// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace mirelune {

#ifdef Q_OS_UNIX
// Whether two statuses describe one file (links not counted: a name's own).
inline bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}
#endif

// Folders the job writes in are shared with other users: below the folder it
// was given (which may itself be a link, e.g. -o ~/phone pointing at a mount)
// it follows no link, so nobody can send its files, its records or its sweep
// elsewhere by putting a link where a folder should be. Each step is opened
// as a descriptor and the next one is opened from it.

// An open folder, closed when this goes.
class FolderHandle {
  public:
    FolderHandle() = default;
    explicit FolderHandle(int fd, int error = 0) : fd_(fd), error_(error) {}
    ~FolderHandle();
    FolderHandle(FolderHandle&& other) noexcept;
    FolderHandle& operator=(FolderHandle&& other) noexcept;
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // Why it is not open: ELOOP or ENOTDIR where a step is a link or no
    // folder, or what the system said.
    int error() const { return error_; }

  private:
    int fd_ = -1;
    int error_ = 0;
};

// Whether relative ("a/b", as a record or --keep-tree gives it) stays below
// its folder: not empty, not absolute, no "." or ".." step, no NUL, and not in
// the record folder.
bool StaysBelow(const QString& relative);

// Opens the folder relative below root (root opened as given, links
// followed), following no link at any step below it. With create, missing
// steps are made. relative must stay below root (StaysBelow) or be empty.
FolderHandle OpenFolderBelow(const QString& root, const QString& relative, bool create);

// The folder's record folder (kRecordFolderName), a real folder, never a
// link. With create it is made when missing, with modes that let everyone
// who may write in folder write records there, and sticky where others may,
// so nobody removes or replaces another's files; made then says so.
FolderHandle OpenRecordFolder(const QString& folder, bool create, bool* made = nullptr);

// The names in the open folder, "." and ".." left out; nothing when it is
// not open.
QList<QByteArray> NamesIn(const FolderHandle& folder);

#ifdef Q_OS_UNIX
// The status of name inside the open folder, the name itself (a link is not
// followed).
std::optional<struct stat> StatusIn(const FolderHandle& folder, const QByteArray& name);

// What a bounded read of a small file found.
struct SmallFile {
    QByteArray bytes;
    struct stat status {};
};
// Reads the first limit bytes (at most) of name in the open folder, opened
// without following a link and without waiting (a FIFO never blocks), when it
// is a regular file; nothing otherwise.
std::optional<SmallFile> ReadHead(const FolderHandle& folder, const QByteArray& name, qint64 limit);
// The same, only for a file of at most limit bytes, read whole.
std::optional<SmallFile> ReadSmallFile(const FolderHandle& folder, const QByteArray& name,
                                       qint64 limit);

// Removes name from the open folder when it is still the file status
// describes (the same device and inode).
bool RemoveIfSame(const FolderHandle& folder, const QByteArray& name, const struct stat& status);
#endif

}  // namespace mirelune

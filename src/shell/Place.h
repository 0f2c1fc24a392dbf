// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

#include "shell/FileIdentity.h"

namespace mirelune {

// One place in the file system, read once from a path that spells it: the
// file there, if any, and the place itself whether or not a file is there
// yet. Naming, the records of runs and the job all ask it whether two paths
// are "the same", each in the sense its question needs, and key their maps
// by its texts alone.
class Place {
  public:
    explicit Place(const QString& path);

    const QString& path() const { return path_; }

    // The file there, links followed; empty when nothing is there (yet).
    const std::optional<FileIdentity>& identity() const { return identity_; }

    // Equal for every spelling of one place, whether or not a file is there:
    // the folder's real path (when the folder exists) and the name.
    const QString& text() const { return text_; }

    // The place's text without letter case: on a target that ignores case,
    // names equal but for it are one file.
    QString foldedText() const { return text_.toCaseFolded(); }

    // Equal for every spelling of one existing file, hard links included;
    // for a path that names nothing, the path made absolute.
    QString fileKey() const;

    // Equal for every folder of one device, which all take the same names;
    // for a folder that is not there, its path cleaned.
    QString targetKey() const;

    // The path made absolute and cleaned, links left as they are.
    QString absolutePath() const;

    // The same text, or both name one existing file.
    bool isSameFile(const Place& other) const {
        return path_ == other.path_ || (identity_ && identity_ == other.identity_);
    }

    // The same place on a target that ignores letter case.
    bool isSameFoldedPlace(const Place& other) const { return foldedText() == other.foldedText(); }

  private:
    QString path_;
    std::optional<FileIdentity> identity_;
    QString text_;
};

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace mirelune {

// This process's run tag: letters and digits, chosen once, carried by the
// names of its temporary results (see TemporaryResultName.h).
QString RunTag();

// Where a folder keeps what runs write about themselves: "<folder>/.mirelune".
QString RunFolderIn(const QString& folder);

// The mark of run tag runTag in folder: "<folder>/.mirelune/<tag>.run".
QString RunMarkPath(const QString& folder, const QString& runTag);

// This run's mark in one output folder, held while a temporary result of the
// run may be there. The first hold of a folder in this process first clears
// the folder of what dead runs left; the first of several holds at once
// writes the mark, each later one refreshes its time, and the last to go
// removes it. Used on one thread.
class RunMarkHold {
  public:
    explicit RunMarkHold(const QString& folder);
    ~RunMarkHold();
    RunMarkHold(const RunMarkHold&) = delete;
    RunMarkHold& operator=(const RunMarkHold&) = delete;

    // Whether the mark is in place: only then may temporary names carry the
    // run tag, for a tag without its mark is taken for a dead run's.
    bool marked() const { return marked_; }

  private:
    QString folder_;
    bool marked_ = false;
};

}  // namespace mirelune

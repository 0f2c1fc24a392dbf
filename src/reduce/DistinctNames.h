// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

namespace mirelune {

// Short names for the paths of one list: each path cut to its last
// components, as few as tell it from every other path of the list ("A/Track
// 1.mp3" beside "B/Track 1.mp3", "song.mp3" when no other file has that
// name). A path listed twice is one file and has one name.
class DistinctNames {
  public:
    explicit DistinctNames(const QStringList& paths);

    // The shortest tail of path that no other listed path ends in; path
    // itself when none is shorter. Also for a path that is not listed.
    QString of(const QString& path) const;

  private:
    // How many different listed paths end in each tail.
    QHash<QString, int> tails_;
    QSet<QString> listed_;
};

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "folders/FileStamp.h"
#include "runs/ResultRecord.h"

namespace mirelune {

// The results a job finds already made, read from the journals of the
// folders it writes to. A record counts only while a file with the result's
// recorded stamp is at its name: a crash before the result was placed, or a
// file the user put there since, is never taken for one of ours. And only
// for a file it may describe: below its folder, through no link, outside the
// record folder, a regular file of the journal's owner (any, for a journal of
// root's); anything else is passed over as a bad line.
class RecordedResults {
  public:
    // A record that counts, with its result's path made whole and the
    // source the result is of now: the record's, or a listed source it
    // moved to.
    struct Held {
        QString path;
        ResultRecord record;
        QString holder;
    };

    // A source the job lists. Noted before the roots are read, it takes over
    // the result of a record whose source is gone or changed and had its
    // file name and stamp (a file moved or renamed), even where another file
    // is at the recorded path now.
    void noteListed(const QString& source);

    // Reads root's journals the first time root is asked for and returns the
    // records found there that count; nothing when root was read before.
    std::vector<Held> read(const QString& root);

    enum class State {
        Current,   // the source is as it was when the result was made
        Outdated,  // the source changed since
    };
    struct Match {
        QString path;  // the result's
        State state = State::Current;
        FileStamp resultStamp;
        // The record names another source path: written for source's path
        // in a real run, it lets the next run find the result with no guess.
        std::optional<ResultRecord> takeOver = std::nullopt;
    };
    // The result recorded in root (read before) for source: one made from
    // source's path while source is as recorded; else one taken over (see
    // noteListed); else one made from source's path before it changed,
    // unless a listed source took that over; else one whose source is gone
    // and had source's file name and stamp, taken over by the first source
    // that asks.
    std::optional<Match> resultFor(const QString& root, const QString& source);

    // The source whose recorded result the file at path is, in a root read
    // before.
    std::optional<QString> sourceOf(const QString& path) const;

    // Results kept whose sources are gone and that no source took over.
    int goneCount() const;

    // What was passed over for its size while reading, one line each.
    const std::vector<QString>& warnings() const { return warnings_; }

  private:
    struct Entry {
        Held held;
        bool gone = false;  // no file at the source's path when read
        std::optional<QString> takenBy;
    };
    struct Listed {
        QString path;
        FileStamp stamp;
    };
    void takeOverMoved(const QString& root);
    Match takenOver(std::size_t index, const QString& source, const FileStamp& stamp) const;

    std::vector<Listed> listed_;
    std::set<QString> roots_;
    std::vector<QString> warnings_;
    std::vector<Entry> entries_;
    // A root's records are apart from another root's.
    using InRoot = std::pair<QString, QString>;
    std::map<QString, std::size_t> byResult_;  // place text of a result -> entry
    std::map<InRoot, std::size_t> bySource_;   // root and source file key -> entry
    // root and the file name of a recorded source -> entries
    std::map<InRoot, std::vector<std::size_t>> byName_;
    std::map<InRoot, std::size_t> movedTo_;  // root and a listed source's file key -> entry
};

}  // namespace mirelune

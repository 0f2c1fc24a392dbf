// SPDX-License-Identifier: GPL-3.0-or-later
#include "runs/RecordedResults.h"

#include <QDir>
#include <QFile>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#endif

#include "folders/FileDescriptor.h"
#include "folders/RealFolders.h"
#include "runs/JournalRecords.h"
#include "runs/MadeResult.h"

#include "shell/PathHelpers.h"
#include "shell/Place.h"

namespace mirelune {
namespace {

QString Whole(const QString& root, const QString& relative) {
    return QDir::cleanPath(QDir(root).filePath(relative));
}

// The stamp of the file a record names, when the record may describe it: a
// name that stays below root, reached without following a link, a regular
// file, and one of the journal's owner unless root (the system's
// administrator) wrote the journal. So another user's journal claims only
// that user's own files. A record made before placing speaks only for a file
// of its size and content hash: read only then, and only up to that size.
std::optional<FileStamp> RecordedStamp(const QString& root, const ResultRecord& record,
                                       unsigned journalOwner) {
    const QString& relative = record.result;
#ifdef Q_OS_UNIX
    if (!StaysBelow(relative)) {
        return std::nullopt;
    }
    const qsizetype cut = relative.lastIndexOf(QLatin1Char('/'));
    const FolderHandle folder =
        OpenFolderBelow(root, cut < 0 ? QString() : relative.left(cut), false);
    const QByteArray name = QFile::encodeName(relative.mid(cut + 1));
    const std::optional<struct stat> status = StatusIn(folder, name);
    if (!status || !S_ISREG(status->st_mode) ||
        (journalOwner != 0 && journalOwner != status->st_uid)) {
        return std::nullopt;
    }
    if (record.sha256.isEmpty()) {
        return StampOfStatus(*status);
    }
    if (status->st_size != record.resultStamp.size) {
        return std::nullopt;
    }
    const FileDescriptor file(
        ::openat(folder.fd(), name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat opened {};
    if (!file.isOpen() || ::fstat(file.fd(), &opened) != 0 || opened.st_dev != status->st_dev ||
        opened.st_ino != status->st_ino ||
        ContentHash(file.fd(), record.resultStamp.size) != record.sha256) {
        return std::nullopt;
    }
    return StampOfStatus(opened);
#else
    Q_UNUSED(journalOwner);
    return record.sha256.isEmpty() ? StampOf(Whole(root, relative)) : std::nullopt;
#endif
}

}  // namespace

std::vector<RecordedResults::Held> RecordedResults::read(const QString& root) {
    if (!roots_.insert(QDir::cleanPath(root)).second) {
        return {};
    }
    JournalRecords journals = ReadRecords(root);
    for (QString& warning : journals.warnings) {
        warnings_.push_back(std::move(warning));
    }
    std::vector<Held> valid;
    for (JournalRecord& entry : journals.records) {
        ResultRecord& record = entry.record;
        const std::optional<FileStamp> there = RecordedStamp(root, record, entry.owner);
        if (!there) {
            continue;
        }
        if (record.sha256.isEmpty() && !SameStamp(*there, record.resultStamp)) {
            continue;
        }
        // A record made before placing, of a result that is there whole,
        // counts whatever time the file came to have: with the stamp it has.
        record.resultStamp = *there;
        const QString path = Whole(root, record.result);
        valid.push_back({path, std::move(record), {}});
    }
    // Of several records for one name whose stamp the file there has, one
    // whose source is still as recorded speaks for it (made again within two
    // seconds); else one whose source is there (moved there and taken over),
    // unless that file has a result of its own now; else the last one read.
    // Journals are read in name order, not in time order.
    std::set<QString> sourcesWithCurrentResult;
    for (const Held& held : valid) {
        const std::optional<FileStamp> now = StampOf(held.record.source);
        if (now && SameStamp(*now, held.record.sourceStamp)) {
            sourcesWithCurrentResult.insert(QDir::cleanPath(held.record.source));
        }
    }
    const auto rank = [&](const ResultRecord& record) {
        const std::optional<FileStamp> now = StampOf(record.source);
        if (!now) {
            return 0;
        }
        if (SameStamp(*now, record.sourceStamp)) {
            return 2;
        }
        return sourcesWithCurrentResult.count(QDir::cleanPath(record.source)) != 0 ? 0 : 1;
    };
    std::map<QString, Held> counting;
    for (Held& held : valid) {
        const QString key = Place(held.path).text();
        const auto before = counting.find(key);
        if (before == counting.end()) {
            counting.emplace(key, std::move(held));
            continue;
        }
        const int was = rank(before->second.record);
        if (was < 2 && rank(held.record) >= was) {
            before->second = std::move(held);
        }
    }
    const std::size_t first = entries_.size();
    for (auto& [key, held] : counting) {
        if (byResult_.count(key) != 0) {
            continue;  // one folder reached by two spellings
        }
        const std::size_t index = entries_.size();
        byResult_.emplace(key, index);
        const QString& source = held.record.source;
        const Place place(source);
        if (place.identity()) {
            bySource_.emplace(InRoot{QDir::cleanPath(root), place.fileKey()}, index);
        }
        byName_[{QDir::cleanPath(root), FileNameOf(source)}].push_back(index);
        held.holder = source;
        entries_.push_back({std::move(held), !place.identity(), std::nullopt});
    }
    takeOverMoved(root);
    std::vector<Held> found;
    for (std::size_t index = first; index < entries_.size(); ++index) {
        found.push_back(entries_[index].held);
    }
    return found;
}

void RecordedResults::noteListed(const QString& source) {
    if (const std::optional<FileStamp> stamp = StampOf(source)) {
        listed_.push_back({source, *stamp});
    }
}

// Settled for every listed source at once, in list order, so which file
// keeps a moved result does not depend on which row asks first.
void RecordedResults::takeOverMoved(const QString& root) {
    const auto asRecorded = [](const ResultRecord& record) {
        const std::optional<FileStamp> now = StampOf(record.source);
        return now && SameStamp(*now, record.sourceStamp);
    };
    for (const Listed& listed : listed_) {
        const InRoot key{QDir::cleanPath(root), Place(listed.path).fileKey()};
        const auto own = bySource_.find(key);
        if (own != bySource_.end() &&
            SameStamp(listed.stamp, entries_[own->second].held.record.sourceStamp)) {
            continue;  // its own result, unmoved
        }
        const auto named = byName_.find({QDir::cleanPath(root), FileNameOf(listed.path)});
        if (named == byName_.end() || movedTo_.count(key) != 0) {
            continue;
        }
        for (const std::size_t index : named->second) {
            Entry& e = entries_[index];
            if (!e.takenBy && SameStamp(listed.stamp, e.held.record.sourceStamp) &&
                (e.gone || !asRecorded(e.held.record))) {
                e.takenBy = listed.path;
                e.held.holder = listed.path;
                movedTo_.emplace(key, index);
                break;
            }
        }
    }
}

RecordedResults::Match RecordedResults::takenOver(std::size_t index, const QString& source,
                                                  const FileStamp& stamp) const {
    const Held& held = entries_[index].held;
    ResultRecord record{held.record.result, held.record.resultStamp, source, stamp};
    return Match{held.path, State::Current, held.record.resultStamp, std::move(record)};
}

std::optional<RecordedResults::Match> RecordedResults::resultFor(const QString& root,
                                                                 const QString& source) {
    const auto match = [this](std::size_t index, State state) {
        const Held& held = entries_[index].held;
        return Match{held.path, state, held.record.resultStamp};
    };
    const std::optional<FileStamp> stamp = StampOf(source);
    if (!stamp) {
        return std::nullopt;
    }
    const InRoot key{QDir::cleanPath(root), Place(source).fileKey()};
    auto own = bySource_.find(key);
    if (own != bySource_.end() && entries_[own->second].takenBy &&
        *entries_[own->second].takenBy != source) {
        own = bySource_.end();  // a listed file moved here took it
    }
    const bool same =
        own != bySource_.end() && SameStamp(*stamp, entries_[own->second].held.record.sourceStamp);
    if (same) {
        return match(own->second, State::Current);
    }
    if (const auto moved = movedTo_.find(key); moved != movedTo_.end()) {
        return takenOver(moved->second, source, *stamp);
    }
    if (own != bySource_.end()) {
        return match(own->second, State::Outdated);
    }
    const auto named = byName_.find({QDir::cleanPath(root), FileNameOf(source)});
    if (named == byName_.end()) {
        return std::nullopt;
    }
    for (const std::size_t index : named->second) {
        Entry& e = entries_[index];
        if (e.gone && (!e.takenBy || *e.takenBy == source) &&
            SameStamp(*stamp, e.held.record.sourceStamp)) {
            e.takenBy = source;
            return takenOver(index, source, *stamp);
        }
    }
    return std::nullopt;
}

std::optional<QString> RecordedResults::sourceOf(const QString& path) const {
    const auto found = byResult_.find(Place(path).text());
    if (found == byResult_.end()) {
        return std::nullopt;
    }
    return entries_[found->second].held.record.source;
}

int RecordedResults::goneCount() const {
    return static_cast<int>(std::count_if(entries_.begin(), entries_.end(),
                                          [](const Entry& e) { return e.gone && !e.takenBy; }));
}

}  // namespace mirelune

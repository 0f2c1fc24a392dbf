// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/RecordedResults.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#endif

#include "reduce/FileDescriptor.h"
#include "reduce/MadeResult.h"
#include "reduce/RealFolders.h"

#include "shell/FileIdentity.h"
#include "shell/PathHelpers.h"

namespace mirelune {
namespace {

QString Whole(const QString& root, const QString& relative) {
    return QDir::cleanPath(QDir(root).filePath(relative));
}

QString InRoot(const QString& root, const QString& key) {
    return QDir::cleanPath(root) + QLatin1Char('\n') + key;
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
    // Of several records for one name whose stamp the file there has (made
    // again within two seconds), one whose source is still as recorded
    // speaks for it.
    const auto sourceUnchanged = [](const ResultRecord& record) {
        const std::optional<FileStamp> stamp = StampOf(record.source);
        return stamp && SameStamp(*stamp, record.sourceStamp);
    };
    std::map<QString, Held> counting;
    JournalRecords journals = ReadRecords(root);
    for (QString& warning : journals.warnings) {
        warnings_.push_back(std::move(warning));
    }
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
        const QString key = PlaceKey(path);
        const auto before = counting.find(key);
        if (before == counting.end() || !sourceUnchanged(before->second.record)) {
            counting.insert_or_assign(key, Held{path, std::move(record)});
        }
    }
    std::vector<Held> found;
    for (auto& [key, held] : counting) {
        if (byResult_.count(key) != 0) {
            continue;  // one folder reached by two spellings
        }
        const std::size_t index = entries_.size();
        byResult_.emplace(key, index);
        const QString& source = held.record.source;
        if (const std::optional<FileIdentity> identity = IdentityOf(source)) {
            bySource_.emplace(InRoot(root, identity->key()), index);
        } else {
            goneByName_[InRoot(root, FileNameOf(source))].push_back(index);
        }
        entries_.push_back({held, std::nullopt});
        found.push_back(std::move(held));
    }
    return found;
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
    const auto own = bySource_.find(InRoot(root, SourceKey(source)));
    if (own != bySource_.end()) {
        const bool same = SameStamp(*stamp, entries_[own->second].held.record.sourceStamp);
        return match(own->second, same ? State::Current : State::Outdated);
    }
    const auto gone = goneByName_.find(InRoot(root, FileNameOf(source)));
    if (gone == goneByName_.end()) {
        return std::nullopt;
    }
    for (const std::size_t index : gone->second) {
        Entry& e = entries_[index];
        if ((!e.takenBy || *e.takenBy == source) && SameStamp(*stamp, e.held.record.sourceStamp)) {
            e.takenBy = source;
            return match(index, State::Current);
        }
    }
    return std::nullopt;
}

std::optional<QString> RecordedResults::sourceOf(const QString& path) const {
    const auto found = byResult_.find(PlaceKey(path));
    if (found == byResult_.end()) {
        return std::nullopt;
    }
    return entries_[found->second].held.record.source;
}

int RecordedResults::goneCount() const {
    int gone = 0;
    for (const auto& [name, indexes] : goneByName_) {
        for (const std::size_t index : indexes) {
            gone += entries_[index].takenBy ? 0 : 1;
        }
    }
    return gone;
}

}  // namespace mirelune

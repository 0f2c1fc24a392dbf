// SPDX-License-Identifier: GPL-3.0-or-later
#include "runs/JournalRecords.h"

#include <QCoreApplication>
#include <QDir>
#include <algorithm>
#include <map>
#include <utility>

#include "folders/RealFolders.h"
#include "shell/NameText.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace mirelune {

JournalRecords ReadRecords(const QString& root) {
    JournalRecords found;
#ifdef Q_OS_UNIX
    const FolderHandle folder = OpenRecordFolder(root, false);
    QList<QByteArray> names;
    for (const QByteArray& name : NamesIn(folder)) {
        if (name.endsWith(".log")) {
            names.append(name);
        }
    }
    std::sort(names.begin(), names.end());
    const auto readOnlySome = [&](int count) {
        found.warnings.push_back(
            QCoreApplication::translate("ResultJournal",
                                        "only the first %1 records of results in %2 were read")
                .arg(count)
                .arg(ShownPath(QDir::toNativeSeparators(RecordFolderOf(root)))));
    };
    qint64 bytesRead = 0;
    for (int index = 0; index < names.size(); ++index) {
        const QByteArray& name = names[index];
        if (index == kMaxJournalsRead) {
            readOnlySome(index);
            break;
        }
        const QString shown = ShownPath(QDir::toNativeSeparators(
            RecordFolderOf(root) + QLatin1Char('/') + QFile::decodeName(name)));
        const std::optional<struct stat> status = StatusIn(folder, name);
        if (status && S_ISREG(status->st_mode) && status->st_size > kMaxJournalBytes) {
            found.warnings.push_back(
                QCoreApplication::translate(
                    "ResultJournal", "the record of results %1 is over %2 MiB and was passed over")
                    .arg(shown)
                    .arg(kMaxJournalBytes / (1024 * 1024)));
            continue;
        }
        if (status && S_ISREG(status->st_mode) &&
            bytesRead + status->st_size > kMaxRecordBytesRead) {
            readOnlySome(index);
            break;
        }
        const std::optional<SmallFile> journal = ReadSmallFile(folder, name, kMaxJournalBytes);
        if (!journal) {
            continue;  // gone, a link, a FIFO, anything but a journal
        }
        bytesRead += journal->bytes.size();
        const QByteArray& bytes = journal->bytes;
        bool longLine = false;
        qsizetype start = 0;
        std::vector<std::optional<ResultRecord>> lines;
        // Made and not yet placed, by result and source: index in lines.
        std::map<std::pair<QString, QString>, std::size_t> unplaced;
        // A last line without its line feed was cut short: passed over.
        for (qsizetype end = bytes.indexOf('\n'); end >= 0; end = bytes.indexOf('\n', start)) {
            if (end + 1 - start > kMaxRecordLineBytes) {
                longLine = true;
            } else if (auto record = ParseRecordLine(bytes.mid(start, end + 1 - start))) {
                const std::pair<QString, QString> key{record->result, record->source};
                if (!record->sha256.isEmpty()) {
                    unplaced[key] = lines.size();
                } else if (const auto made = unplaced.find(key); made != unplaced.end()) {
                    lines[made->second].reset();
                    unplaced.erase(made);
                }
                lines.push_back(std::move(record));
            }
            start = end + 1;
        }
        for (std::optional<ResultRecord>& record : lines) {
            if (record) {
                found.records.push_back({std::move(*record), journal->status.st_uid});
            }
        }
        if (longLine) {
            found.warnings.push_back(
                QCoreApplication::translate(
                    "ResultJournal",
                    "the record of results %1 has lines over %2 KiB, which were passed over")
                    .arg(shown)
                    .arg(kMaxRecordLineBytes / 1024));
        }
    }
#else
    Q_UNUSED(root);
#endif
    return found;
}

}  // namespace mirelune

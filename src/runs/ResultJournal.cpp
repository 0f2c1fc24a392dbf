// SPDX-License-Identifier: GPL-3.0-or-later
#include "runs/ResultJournal.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QSysInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <utility>

#include "shell/RandomTag.h"
#include "folders/RealFolders.h"
#include "shell/NameText.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace mirelune {
namespace {

constexpr char kMade[] = "made";
constexpr int kFieldCount = 7;
const QByteArray kHashPrefix = QByteArrayLiteral("sha256:");
constexpr qsizetype kHashDigits = 64;

bool IsHashText(const QByteArray& text) {
    return text.size() == kHashDigits && std::all_of(text.cbegin(), text.cend(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}
constexpr int kTagLength = 8;
constexpr int kMaxHostLength = 32;

QByteArray Escaped(const QString& name) {
    QByteArray out;
    for (const char c : NativeNameBytes(name)) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::optional<QString> Unescaped(const QByteArray& field) {
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            out += field[i];
            continue;
        }
        if (++i == field.size()) {
            return std::nullopt;
        }
        switch (field[i]) {
            case '\\':
                out += '\\';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case 'n':
                out += '\n';
                break;
            default:
                return std::nullopt;
        }
    }
    if (out.isEmpty()) {
        return std::nullopt;
    }
    return EscapedNativeName(out);
}

QByteArray TimeText(qint64 ms) {
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(Qt::ISODateWithMs).toLatin1();
}

std::optional<qint64> ParseTime(const QByteArray& text) {
    const QDateTime time = QDateTime::fromString(QString::fromLatin1(text), Qt::ISODateWithMs);
    if (!time.isValid()) {
        return std::nullopt;
    }
    return time.toMSecsSinceEpoch();
}

std::optional<FileStamp> ParseStamp(const QByteArray& size, const QByteArray& time) {
    bool isNumber = false;
    const qint64 bytes = size.toLongLong(&isNumber);
    const std::optional<qint64> ms = ParseTime(time);
    if (!isNumber || bytes < 0 || !ms) {
        return std::nullopt;
    }
    return FileStamp{bytes, *ms};
}

// A name every file system takes: letters, digits and hyphens.
QString JournalName() {
    QString host;
    for (const QChar c : QSysInfo::machineHostName().left(kMaxHostLength)) {
        host += c.isLetterOrNumber() && c.unicode() < 128 ? c : QChar('-');
    }
    return QStringLiteral("%1-%2-%3.log")
        .arg(host.isEmpty() ? QStringLiteral("host") : host)
        .arg(QCoreApplication::applicationPid())
        .arg(RandomTag(kTagLength));
}

QString RecordFolder(const QString& root) {
    return QDir(root).filePath(QLatin1String(kRecordFolderName));
}

}  // namespace

QByteArray RecordLine(const ResultRecord& record) {
    return QByteArray(kMade) + '\t' + Escaped(record.result) + '\t' +
           QByteArray::number(record.resultStamp.size) + '\t' +
           TimeText(record.resultStamp.modifiedMs) + '\t' + Escaped(record.source) + '\t' +
           QByteArray::number(record.sourceStamp.size) + '\t' +
           TimeText(record.sourceStamp.modifiedMs) +
           (record.sha256.isEmpty() ? QByteArray() : '\t' + kHashPrefix + record.sha256) + '\n';
}

std::optional<ResultRecord> ParseRecordLine(const QByteArray& line) {
    if (!line.endsWith('\n')) {
        return std::nullopt;
    }
    const QList<QByteArray> fields = line.chopped(1).split('\t');
    if ((fields.size() != kFieldCount && fields.size() != kFieldCount + 1) || fields[0] != kMade) {
        return std::nullopt;
    }
    QByteArray hash;
    if (fields.size() > kFieldCount) {
        hash = fields[kFieldCount];
        if (!hash.startsWith(kHashPrefix) || !IsHashText(hash.mid(kHashPrefix.size()))) {
            return std::nullopt;
        }
        hash = hash.mid(kHashPrefix.size());
    }
    const std::optional<QString> result = Unescaped(fields[1]);
    const std::optional<QString> source = Unescaped(fields[4]);
    const std::optional<FileStamp> resultStamp = ParseStamp(fields[2], fields[3]);
    const std::optional<FileStamp> sourceStamp = ParseStamp(fields[5], fields[6]);
    if (!result || !source || !resultStamp || !sourceStamp) {
        return std::nullopt;
    }
    return ResultRecord{*result, *resultStamp, *source, *sourceStamp, hash};
}

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
                .arg(ShownPath(QDir::toNativeSeparators(RecordFolder(root)))));
    };
    qint64 bytesRead = 0;
    for (int index = 0; index < names.size(); ++index) {
        const QByteArray& name = names[index];
        if (index == kMaxJournalsRead) {
            readOnlySome(index);
            break;
        }
        const QString shown = ShownPath(QDir::toNativeSeparators(
            RecordFolder(root) + QLatin1Char('/') + QFile::decodeName(name)));
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

ResultJournal::ResultJournal(QString root) : root_(std::move(root)) {}

ResultJournal::~ResultJournal() {
#ifdef Q_OS_UNIX
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (madeFolder_) {
        // Left only when it holds nothing: another run's files keep it.
        const FolderHandle folder = OpenFolderBelow(root_, QString(), false);
        if (folder.isOpen()) {
            ::unlinkat(folder.fd(), kRecordFolderName, AT_REMOVEDIR);
        }
    }
#endif
}

namespace {

QString CannotRecord(const QString& root, int error) {
    const QString folder = ShownPath(QDir::toNativeSeparators(RecordFolder(root)));
    if (error == ELOOP || error == ENOTDIR) {
        return QCoreApplication::translate("ResultJournal",
                                           "%1 is not a folder (a link or a file): the records "
                                           "of results are kept only in a real folder; remove "
                                           "it, or choose another output folder")
            .arg(folder);
    }
    if (error == EACCES || error == EPERM || error == EROFS) {
        return QCoreApplication::translate(
                   "ResultJournal",
                   "could not write the record of results in %1: %2; ask its owner to let you "
                   "write there, or choose another output folder")
            .arg(folder, QString::fromLocal8Bit(std::strerror(error)));
    }
    return QCoreApplication::translate("ResultJournal",
                                       "could not write the record of results in %1: %2")
        .arg(folder, QString::fromLocal8Bit(std::strerror(error)));
}

#ifdef Q_OS_UNIX
bool WriteLine(int fd, const QByteArray& line) {
    // One write, so a crash leaves at most one torn line at the end.
    return ::write(fd, line.constData(), static_cast<size_t>(line.size())) == line.size() &&
           ::fsync(fd) == 0;
}
#endif

}  // namespace

QString ResultJournal::append(const ResultRecord& record) {
    const QByteArray line = RecordLine(record);
#ifdef Q_OS_UNIX
    if (fd_ >= 0) {
        if (WriteLine(fd_, line)) {
            return {};
        }
        const int error = errno;
        // The next record starts a journal of its own rather than run on
        // from a torn line.
        ::close(fd_);
        fd_ = -1;
        return QCoreApplication::translate("ResultJournal",
                                           "could not write the record of results %1: %2")
            .arg(ShownPath(QDir::toNativeSeparators(path_)),
                 QString::fromLocal8Bit(std::strerror(error)));
    }
    int error = ENOENT;
    // A run that made the record folder removes it when it ends empty; one
    // removed between our making sure of it and our file's making is made again.
    for (int attempt = 0; attempt < 5 && error == ENOENT; ++attempt) {
        bool made = false;
        const FolderHandle folder = OpenRecordFolder(root_, true, &made);
        madeFolder_ = madeFolder_ || made;
        if (!folder.isOpen()) {
            error = folder.error();
            continue;
        }
        const QString name = JournalName();
        const QByteArray native = QFile::encodeName(name);
        const int fd =
            ::openat(folder.fd(), native.constData(),
                     O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_APPEND | O_CLOEXEC, 0644);
        if (fd < 0) {
            error = errno;
            continue;
        }
        if (!WriteLine(fd, line)) {
            error = errno;
            ::close(fd);
            ::unlinkat(folder.fd(), native.constData(), 0);  // no empty journal stays
            break;
        }
        fd_ = fd;
        path_ = RecordFolder(root_) + QLatin1Char('/') + name;
        return {};
    }
    return CannotRecord(root_, error);
#else
    Q_UNUSED(line);
    return CannotRecord(root_, ENOSYS);
#endif
}

ResultJournal& ResultJournals::journalFor(const QString& root) {
    std::unique_ptr<ResultJournal>& journal = journals_[root];
    if (!journal) {
        journal = std::make_unique<ResultJournal>(root);
    }
    return *journal;
}

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/ResultJournal.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QSysInfo>

#include "reduce/RandomTag.h"
#include "shell/NameText.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace mirelune {
namespace {

constexpr char kMade[] = "made";
constexpr int kFieldCount = 7;
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
           TimeText(record.sourceStamp.modifiedMs) + '\n';
}

std::optional<ResultRecord> ParseRecordLine(const QByteArray& line) {
    if (!line.endsWith('\n')) {
        return std::nullopt;
    }
    const QList<QByteArray> fields = line.chopped(1).split('\t');
    if (fields.size() != kFieldCount || fields[0] != kMade) {
        return std::nullopt;
    }
    const std::optional<QString> result = Unescaped(fields[1]);
    const std::optional<QString> source = Unescaped(fields[4]);
    const std::optional<FileStamp> resultStamp = ParseStamp(fields[2], fields[3]);
    const std::optional<FileStamp> sourceStamp = ParseStamp(fields[5], fields[6]);
    if (!result || !source || !resultStamp || !sourceStamp) {
        return std::nullopt;
    }
    return ResultRecord{*result, *resultStamp, *source, *sourceStamp};
}

std::vector<ResultRecord> ReadRecords(const QString& root) {
    std::vector<ResultRecord> records;
    const QDir folder(RecordFolder(root));
    for (const QString& name :
         folder.entryList({QStringLiteral("*.log")}, QDir::Files | QDir::Hidden, QDir::Name)) {
        QFile journal(folder.filePath(name));
        if (!journal.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QByteArray bytes = journal.readAll();
        qsizetype start = 0;
        // A last line without its line feed was cut short: passed over.
        for (qsizetype end = bytes.indexOf('\n'); end >= 0; end = bytes.indexOf('\n', start)) {
            if (auto record = ParseRecordLine(bytes.mid(start, end + 1 - start))) {
                records.push_back(std::move(*record));
            }
            start = end + 1;
        }
    }
    return records;
}

ResultJournal::ResultJournal(QString root) : root_(std::move(root)) {}

ResultJournal::~ResultJournal() = default;

QString ResultJournal::append(const ResultRecord& record) {
    if (!file_) {
        const QString folder = RecordFolder(root_);
        if (!QDir().mkpath(folder)) {
            return QCoreApplication::translate(
                       "ResultJournal", "could not make the folder %1 for the records of results")
                .arg(ShownPath(QDir::toNativeSeparators(folder)));
        }
        auto file = std::make_unique<QFile>(QDir(folder).filePath(JournalName()));
        if (!file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::NewOnly |
                        QIODevice::Unbuffered)) {
            return QCoreApplication::translate("ResultJournal",
                                               "could not write the record of results %1: %2")
                .arg(ShownPath(QDir::toNativeSeparators(file->fileName())), file->errorString());
        }
        file_ = std::move(file);
    }
    const QByteArray line = RecordLine(record);
    // One write, so a crash leaves at most one torn line at the end.
    bool written = file_->write(line) == line.size();
#ifdef Q_OS_UNIX
    written = written && ::fsync(file_->handle()) == 0;
#endif
    if (!written) {
        const QString why =
            QCoreApplication::translate("ResultJournal",
                                        "could not write the record of results %1: %2")
                .arg(ShownPath(QDir::toNativeSeparators(file_->fileName())), file_->errorString());
        // The next record starts a journal of its own rather than run on
        // from a torn line.
        file_.reset();
        return why;
    }
    return {};
}

ResultJournal& ResultJournals::journalFor(const QString& root) {
    std::unique_ptr<ResultJournal>& journal = journals_[root];
    if (!journal) {
        journal = std::make_unique<ResultJournal>(root);
    }
    return *journal;
}

}  // namespace mirelune

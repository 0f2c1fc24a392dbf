// SPDX-License-Identifier: GPL-3.0-or-later
#include "runs/ResultRecord.h"

#include <QDateTime>
#include <QDir>
#include <algorithm>

#include "shell/NameText.h"
#include "shell/PathHelpers.h"

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

}  // namespace

QString RecordFolderOf(const QString& root) {
    return QDir(root).filePath(QLatin1String(kRecordFolderName));
}

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

}  // namespace mirelune

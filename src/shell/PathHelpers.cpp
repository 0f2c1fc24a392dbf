// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/PathHelpers.h"

#include <QFile>
#include <filesystem>
#include <system_error>

namespace mirelune {

QString FileNameOf(const QString& p) {
    return FileNameOf(p, QChar(kPathSeparator));
}

QString FolderOf(const QString& p) {
    return FolderOf(p, QChar(kPathSeparator));
}

QString WithoutExtension(const QString& p) {
    return WithoutExtension(p, QChar(kPathSeparator));
}

QString CollapseSeparators(const QString& p) {
    return CollapseSeparators(p, QChar(kPathSeparator), kLeadingSeparators);
}

QString FileNameOf(const QString& p, QChar separator) {
    return p.mid(p.lastIndexOf(separator) + 1);
}

QString FolderOf(const QString& p, QChar separator) {
    return p.left(p.lastIndexOf(separator) + 1);
}

QString WithoutExtension(const QString& p, QChar separator) {
    const qsizetype elementStart = p.lastIndexOf(separator) + 1;
    const qsizetype dot = p.lastIndexOf(QLatin1Char('.'));
    if (dot > elementStart) {
        return p.left(dot);
    }
    return p;
}

namespace {

// Each pair becomes one separator and the scan resumes after the pair, so a
// run of three keeps two.
QString CollapsePairs(QStringView text, QChar separator) {
    QString result;
    result.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        result.append(text[i]);
        const bool pair = text[i] == separator && i + 1 < text.size() && text[i + 1] == separator;
        i += pair ? 2 : 1;
    }
    return result;
}

}  // namespace

QString CollapseSeparators(const QString& p, QChar separator, LeadingSeparators leading) {
    if (!p.startsWith(separator)) {
        return CollapsePairs(p, separator);
    }
    qsizetype restStart = 1;
    while (restStart < p.size() && p[restStart] == separator) {
        ++restStart;
    }
    const QString prefix =
        leading == LeadingSeparators::KeepTwo ? QString(2, separator) : QString(1, separator);
    return prefix + CollapsePairs(QStringView(p).mid(restStart), separator);
}

namespace {

// A NUL inside the text would silently cut the name the system sees, so such
// a path names nothing.
bool ToNativePath(const QString& p, std::filesystem::path& native) {
    if (p.isEmpty() || p.contains(QChar(0))) {
        return false;
    }
#ifdef Q_OS_WIN
    native = std::filesystem::path(p.toStdWString());
#else
    native = std::filesystem::path(QFile::encodeName(p).toStdString());
#endif
    return true;
}

}  // namespace

bool IsFolder(const QString& p) noexcept {
    try {
        std::filesystem::path native;
        if (!ToNativePath(p, native)) {
            return false;
        }
        std::error_code error;
        return std::filesystem::is_directory(native, error) && !error;
    } catch (...) {
        return false;
    }
}

bool PathExists(const QString& p) noexcept {
    try {
        std::filesystem::path native;
        if (!ToNativePath(p, native)) {
            return false;
        }
        std::error_code error;
        static_cast<void>(std::filesystem::last_write_time(native, error));
        return !error;
    } catch (...) {
        return false;
    }
}

}  // namespace mirelune

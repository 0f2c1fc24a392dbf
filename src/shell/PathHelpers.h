// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QString>

namespace mirelune {

// The one place that knows the platform's separator; every path the program
// builds or compares uses it, since the reduce job compares paths as text.
#ifdef Q_OS_WIN
inline constexpr char16_t kPathSeparator = u'\\';
#else
inline constexpr char16_t kPathSeparator = u'/';
#endif

// The hidden folder in which a folder that receives results keeps the
// records of what they were made from. No walk goes into it.
inline constexpr char kRecordFolderName[] = ".mirelune";

// How CollapseSeparators treats a path that begins with separators.
enum class LeadingSeparators {
    KeepTwo,  // Windows: "\\server\share", a network path
    KeepOne,  // elsewhere: two would make "/home" and "//home" differ as text
};

#ifdef Q_OS_WIN
inline constexpr LeadingSeparators kLeadingSeparators = LeadingSeparators::KeepTwo;
#else
inline constexpr LeadingSeparators kLeadingSeparators = LeadingSeparators::KeepOne;
#endif

// The text after the last separator; all of p when it has none.
QString FileNameOf(const QString& p);
// The text up to and including the last separator; empty when p has none.
QString FolderOf(const QString& p);
// p without the extension of its last element. A "." counts only inside the
// last element and not as that element's first character, so ".hidden" and
// "/music/my.album/track" stay whole.
QString WithoutExtension(const QString& p);
// Doubled separators removed in one left-to-right pass (three in a row become
// two); a leading run of separators becomes kLeadingSeparators' count.
QString CollapseSeparators(const QString& p);

// The same rules with the separator given, so both platforms' behaviour can be
// checked as plain text anywhere.
QString FileNameOf(const QString& p, QChar separator);
QString FolderOf(const QString& p, QChar separator);
QString WithoutExtension(const QString& p, QChar separator);
QString CollapseSeparators(const QString& p, QChar separator, LeadingSeparators leading);

// File-system questions that never fail: any problem (missing path, no
// access, a name the system refuses) is a false answer. A trailing separator
// is accepted.
bool IsFolder(const QString& p) noexcept;
// True for an existing file or folder (links followed) whose modification
// time can be read.
bool PathExists(const QString& p) noexcept;

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/RefusedFiles.h"

#include <QCoreApplication>
#include <algorithm>

#include "shell/CountedText.h"
#include "shell/NameText.h"
#include "shell/WindowLayer.h"

namespace mirelune {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

// With entries left out for other reasons, a file that is no MP3 file says so
// on its own line.
QString MixedLine(const RefusedFiles::Entry& entry) {
    if (!entry.notMp3) {
        return ShownPath(entry.path) + QStringLiteral(" (") + entry.reason + QLatin1Char(')');
    }
    const QString notMp3 = QCoreApplication::translate("RefusedFiles", "not a valid MP3 file");
    // French puts a blank before the colon.
    return ShownPath(entry.path) + QStringLiteral(" (") +
           (entry.reason.isEmpty()
                ? notMp3
                : QCoreApplication::translate("RefusedFiles", "%1: %2").arg(notMp3, entry.reason)) +
           QLatin1Char(')');
}

QString Line(const RefusedFiles::Entry& entry, bool mixed) {
    if (mixed) {
        return MixedLine(entry);
    }
    return entry.reason.isEmpty()
               ? ShownPath(entry.path)
               : ShownPath(entry.path) + QStringLiteral(" (") + entry.reason + QLatin1Char(')');
}

}  // namespace

void RefusedFiles::add(const QString& path, const QString& reason) {
    entries_.append(Entry{path, reason, true});
}

void RefusedFiles::leaveOut(const QString& path, const QString& reason) {
    entries_.append(Entry{path, reason, false});
}

QString RefusedFiles::summaryText(const QLocale& locale) const {
    if (entries_.isEmpty()) {
        return QString();
    }
    const bool mixed = std::any_of(entries_.begin(), entries_.end(),
                                   [](const Entry& entry) { return !entry.notMp3; });
    QString text;
    if (mixed) {
        text = CountedText("RefusedFiles", QT_TRANSLATE_NOOP("RefusedFiles", "File left out"),
                           QT_TRANSLATE_N_NOOP("RefusedFiles", "%n files were left out:"),
                           static_cast<int>(entries_.size()));
    } else if (entries_.size() == 1) {
        text = QCoreApplication::translate("RefusedFiles", kNotValidMp3Text);
    } else {
        const char* const many =
            QT_TRANSLATE_N_NOOP("RefusedFiles", "%n files are not valid MP3 files:");
        text = QCoreApplication::translate("RefusedFiles", many, nullptr,
                                           static_cast<int>(entries_.size()));
    }
    const qsizetype named = std::min<qsizetype>(entries_.size(), kNamedAtMost);
    for (qsizetype k = 0; k < named; ++k) {
        text += kLineBreak + Line(entries_.at(k), mixed);
    }
    if (entries_.size() > named) {
        text += kLineBreak + QCoreApplication::translate("DoneMessage", "and %1 more")
                                 .arg(locale.toString(entries_.size() - named));
    }
    return text;
}

void RefusedFiles::show(WindowLayer& window) const {
    // A box after the window has closed would keep the program alive unseen.
    if (!entries_.isEmpty() && !window.isClosing()) {
        window.showMessage(summaryText(window.locale()));
    }
}

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/RefusedFiles.h"

#include <algorithm>

#include "shell/NameText.h"
#include "shell/WindowLayer.h"

namespace mirelune {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

QString Line(const RefusedFiles::Entry& entry) {
    return entry.reason.isEmpty()
               ? ShownPath(entry.path)
               : ShownPath(entry.path) + QStringLiteral(" (") + entry.reason + QLatin1Char(')');
}

}  // namespace

void RefusedFiles::add(const QString& path, const QString& reason) {
    entries_.append(Entry{path, reason});
}

QString RefusedFiles::summaryText() const {
    if (entries_.isEmpty()) {
        return QString();
    }
    if (entries_.size() == 1) {
        return QString::fromUtf8(kNotValidMp3Text) + kLineBreak + Line(entries_.first());
    }
    QString text = QStringLiteral("%1 files are not valid MP3 files:").arg(entries_.size());
    const qsizetype named = std::min<qsizetype>(entries_.size(), kNamedAtMost);
    for (qsizetype k = 0; k < named; ++k) {
        text += kLineBreak + Line(entries_.at(k));
    }
    if (entries_.size() > named) {
        text += kLineBreak + QStringLiteral("and %1 more").arg(entries_.size() - named);
    }
    return text;
}

void RefusedFiles::show(WindowLayer& window) const {
    // A box after the window has closed would keep the program alive unseen.
    if (!entries_.isEmpty() && !window.isClosing()) {
        window.showMessage(summaryText());
    }
}

}  // namespace mirelune

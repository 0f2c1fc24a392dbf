// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QtGlobal>

namespace mirelune {

class WindowLayer;

inline constexpr char kNotValidMp3Text[] =
    QT_TRANSLATE_NOOP("RefusedFiles", "Not a valid MP3 file");

// What one way of adding files (the dialog, a folder scan, a drop, the
// sample files) could not take, collected while it runs and shown in one box
// when it ends: a user who drops a folder of pictures confirms one box, not
// one per picture.
class RefusedFiles {
  public:
    struct Entry {
        QString path;
        // Why, when there is more to say than that the file is no MP3 file:
        // an analysis failure such as "out of range", or why a name was left
        // out. Empty otherwise.
        QString reason;
        // False for a path left out for what it is rather than for its
        // content: gone, a folder, a name no text can hold.
        bool notMp3 = true;
    };

    // At most this many paths are named; the rest are counted.
    static constexpr int kNamedAtMost = 20;

    void add(const QString& path, const QString& reason = QString());
    // A path left out for what it is, not for its content ("no longer
    // exists", "folder skipped").
    void leaveOut(const QString& path, const QString& reason);

    bool isEmpty() const { return entries_.isEmpty(); }
    const QList<Entry>& entries() const { return entries_; }

    // "Not a valid MP3 file" and the one path on the next line; for several,
    // "N files are not valid MP3 files:" and one line per path in the order
    // met, up to kNamedAtMost, then "and K more". A reason follows its path in
    // parentheses. When some were left out for what they are, the heading is
    // "File left out" or "N files were left out:", and each line says its
    // reason, "not a valid MP3 file" included. Empty when nothing was refused.
    // Numbers are written as locale writes them.
    QString summaryText(const QLocale& locale = QLocale::c()) const;

    // The summary in one box (OK, no icon, the application title); nothing
    // when nothing was refused or the window is closing.
    void show(WindowLayer& window) const;

  private:
    QList<Entry> entries_;
};

}  // namespace mirelune

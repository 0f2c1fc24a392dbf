// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>

#include "reduce/ReportGroups.h"

namespace mirelune {

// The most failures, and the most skipped files, the closing message lists
// one by one.
inline constexpr int kListedFailures = 20;

// A line names its row in at most this many characters; a longer name loses
// folders first, then the middle of its file name (ElidePath).
inline constexpr int kListedNameLength = 70;

// "Done." and, when rows failed, how many and why: one line per failed file
// (name: reason), at most kListedFailures, then "and N more"; then the rows
// that were left alone, the results that got a name the target takes
// instead of their own, the results larger than their sources, and the
// results the encoder made with a note on their source (a tag it had to
// leave out), in the same way. Numbers are written as locale writes them.
QString DoneMessage(const QLocale& locale, const ReportGroups& groups);

// "saved as NAME": a renamed result's line.
QString SavedAs(const QString& fileName);

// The one question of a job whose results would replace files that were
// there before it: in the output folder, or beside their originals when
// each result goes into its source's folder.
QString ReplaceQuestion(int count, bool besideOriginals);

// The message of a job that cannot know where its results should go.
QString ChooseOutputMessage();

}  // namespace mirelune

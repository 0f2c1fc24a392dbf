// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

namespace mirelune {

// The reasons a row can fail or be skipped, as the user reads them after
// "Done." or in the command line's report.
namespace reason {
QString CannotStartEncoder();
// The encoder's own last message, or its exit code when it said nothing.
QString EncoderFailed(qint32 code, const QString& lastLine);
QString EncoderStopped(const QString& lastLine);
QString NotValidMp3();
QString WouldOverwriteSource();
// A folder below the output folder that is a link (or no folder at all).
QString FolderIsNoRealFolder(const QString& folder);
QString NoOutputChoice();
QString NoTargetBitrate();
QString RowUnreadable();
QString SourceGone();
QString NoSpace();
QString NameTooLong();
// Skips: a file the job did not make holds the output path, or the listed
// file is itself the output of another listed source.
QString Exists();
// The source changed since its recorded result was made.
QString Outdated();
QString ResultOf(const QString& sourceName);
// A failure of the system, errnum as in errno.
QString CannotWriteIn(const QString& folder, int errnum);
QString CannotReplace(const QString& output, int errnum);
QString CannotWriteResult(const QString& output, int errnum);
// The target's file system would not create a file of that name.
QString NameRefused(const QString& fileName);
QString SystemErrorText(int errnum);
// ENOSPC, or a quota that is used up.
bool IsNoSpace(int errnum);
}  // namespace reason

}  // namespace mirelune

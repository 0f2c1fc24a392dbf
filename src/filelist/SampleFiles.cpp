// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/SampleFiles.h"

#include <QCoreApplication>
#include <vector>

#include "filelist/FileListFiller.h"
#include "filelist/RefusedFiles.h"
#include "filelist/SampleRows.h"
#include "folders/FileListing.h"
#include "mp3/MP3Info.h"
#include "shell/ErrorGuard.h"
#include "shell/ErrorLocations.h"
#include "shell/PathHelpers.h"
#include "shell/WindowLayer.h"

namespace mirelune {
namespace {

// Why a row that does not read as MP3 leaves the list: a row whose file is
// gone or is a folder is not a bad MP3 file.
RefusedFiles::Entry RemovedRow(const QString& path, const QString& failure) {
    if (!PathExists(path)) {
        return {path, QCoreApplication::translate("SampleFiles", "no longer exists"), false};
    }
    if (IsFolder(path)) {
        return {path, QCoreApplication::translate("SampleFiles", "folder skipped"), false};
    }
    return {path, failure, true};
}

}  // namespace

QString SampleFolder(const QString& applicationFolder) {
    return applicationFolder + kPathSeparator + QStringLiteral("Samples");
}

bool PathIsListed(const SampleRows& rows, const QString& path) {
    const int count = rows.rowCount();
    for (int row = 1; row <= count; ++row) {
        if (rows.rowPath(row) == path) {
            return true;
        }
    }
    return false;
}

void LoadSampleFiles(SampleRows& rows, WindowLayer& window, const QString& applicationFolder,
                     RefusedFiles& refused) {
    const QString folder = SampleFolder(applicationFolder) + kPathSeparator;
    const LeftOutNotice leftOut = [&refused](const QString& path, const QString& reason) {
        refused.leaveOut(path, reason);
    };
    for (const QString& name : ListFolderFiles(folder, QStringLiteral("*.*"), leftOut)) {
        const QString path = folder + name;
        if (!PathIsListed(rows, path)) {
            rows.appendPath(path);
        }
    }
    const MessageAnswer answer =
        window.messageBox(QCoreApplication::translate("SampleFiles", kOpenSampleFolderQuestion),
                          window.applicationTitle(), MessageButtons::YesNo, MessageIcon::None);
    // Without a file manager nothing would happen at all; the user can still
    // go there by name.
    if (answer == MessageAnswer::Yes && !window.openFolder(folder)) {
        window.showMessage(
            QCoreApplication::translate("SampleFiles", "The folder could not be opened:") +
            QStringLiteral("\r\n") + SampleFolder(applicationFolder));
    }
}

void LoadSampleFilesAndRereadRows(SampleRows& rows, WindowLayer& window, mp3::MP3Info& info,
                                  const QString& applicationFolder) {
    ErrorGuard g(window, QString::fromUtf8(location::kPushButton5Click));
    RefusedFiles refused;
    g.step(100, [&] { LoadSampleFiles(rows, window, applicationFolder, refused); });
    std::vector<RefusedFiles::Entry> removed;  // from the last row up
    int count = 0;
    g.step(102, [&] { count = rows.rowCount(); });
    for (int row = count; row >= 1; --row) {
        QString path;
        g.step(104, [&] { path = rows.rowPath(row); });
        // A malformed file is refused with its failure and no report; any
        // other failure inside the analysis is reported, and the row counts
        // as not valid.
        QString failure;
        if (g.test(106, [&] { return !ReadsAsMp3(info, path, failure); })) {
            g.step(110, [&] { removed.push_back(RemovedRow(path, failure)); });
            g.step(112, [&] { rows.removeRow(row); });
        } else {
            g.step(108, [&] {
                rows.setBitrateText(row, BitrateCellText(info.Bitrate(), window.locale()));
            });
        }
    }
    g.step(114, [&] {
        // Named in list order, as the user sees the rows.
        for (auto row = removed.rbegin(); row != removed.rend(); ++row) {
            if (row->notMp3) {
                refused.add(row->path, row->reason);
            } else {
                refused.leaveOut(row->path, row->reason);
            }
        }
        refused.show(window);
    });
}

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/AddByDialog.h"

#include <QCoreApplication>
#include <QStringList>

#include "shell/ErrorGuard.h"
#include "shell/ErrorLocations.h"
#include "shell/PathHelpers.h"
#include "shell/WindowLayer.h"

namespace mirelune {

void AddFilesByDialog(const FileListFiller& filler) {
    ErrorGuard g(filler.window, location::kPushButton1Click);
    // The dialog starts with no name chosen and always allows several picks,
    // so only the title and the filter need setting. It hands back every pick
    // as a full path, however many there are: no selection is too large.
    QString title;
    QString filter;
    g.step(108, [&] { title = QCoreApplication::translate("AddByDialog", kAddFilesDialogTitle); });
    g.step(110, [&] { filter = QCoreApplication::translate("AddByDialog", kMp3FilesFilter); });
    QStringList picked;
    g.step(112, [&] { picked = filler.window.openFiles(title, filter); });
    if (g.test(114, [&] { return picked.isEmpty(); })) {
        return;
    }

    RefusedFiles refused;
    if (g.test(118, [&] { return picked.size() == 1; })) {
        // A single pick is taken exactly as the dialog gave it.
        QString path;
        g.step(120, [&] { path = picked.at(0); });
        AddCandidateFile(g, CandidateStepsFrom(122), filler, path, refused);
    } else {
        qsizetype last = -1;
        g.step(130, [&] { last = picked.size() - 1; });
        for (qsizetype i = 0; i <= last; ++i) {
            QString path;
            g.step(142, [&] { path = picked.at(i); });
            g.step(144, [&] { path = CollapseSeparators(path); });
            AddCandidateFile(g, CandidateStepsFrom(146), filler, path, refused);
        }
    }
    g.step(156, [&] { refused.show(filler.window); });
}

}  // namespace mirelune

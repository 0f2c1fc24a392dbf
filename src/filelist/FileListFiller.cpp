// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/FileListFiller.h"

#include <QFile>

#include "filelist/FileList.h"
#include "mp3/AnalysisError.h"
#include "mp3/BitrateText.h"
#include "mp3/MP3Info.h"
#include "shell/ErrorGuard.h"
#include "shell/WindowLayer.h"

namespace mirelune {

QString BitrateCellText(std::int32_t bitsPerSecond) {
    return QString::fromStdString(mp3::BitrateText(bitsPerSecond));
}

int AppendFileEntry(FileList& list, const QString& path, std::int32_t bitsPerSecond) {
    const int index = list.append(path);
    list.setBitrateText(index, BitrateCellText(bitsPerSecond));
    return index;
}

bool ReadsAsMp3(mp3::MP3Info& info, const QString& path, QString& failure) {
    try {
        // The reader opens files by their name in the file system's encoding.
        return info.ReadMP3Info(QFile::encodeName(path).toStdString());
    } catch (const mp3::AnalysisError& error) {
        failure = QString::fromUtf8(mp3::AnalysisError::KindName(error.kind()));
        return false;
    }
}

bool AddCandidateFile(ErrorGuard& guard, const CandidateSteps& steps, const FileListFiller& filler,
                      const QString& path, RefusedFiles& refused) {
    if (filler.window.isClosing()) {
        return false;
    }
    std::int32_t bitsPerSecond = 0;
    QString failure;
    const bool refuse = guard.test(steps.read, [&] {
        if (!ReadsAsMp3(filler.info, path, failure)) {
            return true;
        }
        bitsPerSecond = filler.info.Bitrate();
        return false;
    });
    if (refuse) {
        guard.step(steps.refuse, [&] { refused.add(path, failure); });
        return false;
    }
    int index = 0;
    guard.step(steps.addRow, [&] { index = filler.list.append(path); });
    guard.step(steps.bitrate,
               [&] { filler.list.setBitrateText(index, BitrateCellText(bitsPerSecond)); });
    return index > 0;
}

}  // namespace mirelune

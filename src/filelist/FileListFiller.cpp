#include "filelist/FileListFiller.h"

#include <QFile>

#include "filelist/FileList.h"
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

bool AddCandidateFile(ErrorGuard& guard, const CandidateSteps& steps, const FileListFiller& filler,
                      const QString& path) {
    std::int32_t bitsPerSecond = 0;
    const bool refused = guard.test(steps.read, [&] {
        // The reader opens files by their name in the file system's encoding.
        if (!filler.info.ReadMP3Info(QFile::encodeName(path).toStdString())) {
            return true;
        }
        bitsPerSecond = filler.info.Bitrate();
        return false;
    });
    if (refused) {
        guard.step(steps.refuse,
                   [&] { filler.window.showMessage(QString::fromUtf8(kNotValidMp3Text)); });
        return false;
    }
    int index = 0;
    guard.step(steps.addRow, [&] { index = filler.list.append(path); });
    guard.step(steps.bitrate,
               [&] { filler.list.setBitrateText(index, BitrateCellText(bitsPerSecond)); });
    return index > 0;
}

}  // namespace mirelune

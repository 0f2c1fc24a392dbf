// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/FileListFiller.h"

#include <QCoreApplication>
#include <QFile>

#include "filelist/FileList.h"
#include "mp3/AnalysisError.h"
#include "mp3/BitrateText.h"
#include "mp3/MP3Info.h"
#include "shell/ErrorGuard.h"
#include "shell/WindowLayer.h"

namespace mirelune {

namespace {

// The analysis is plain C++ and names its failures for the maker; the window
// says them in the user's language.
QString AnalysisFailureText(mp3::AnalysisError::Kind kind) {
    switch (kind) {
        case mp3::AnalysisError::Kind::OutOfRange:
            return QCoreApplication::translate("RefusedFiles", "out of range");
        case mp3::AnalysisError::Kind::Overflow:
            return QCoreApplication::translate("RefusedFiles", "overflow");
        case mp3::AnalysisError::Kind::DivisionByZero:
            return QCoreApplication::translate("RefusedFiles", "division by zero");
    }
    return QString::fromUtf8(mp3::AnalysisError::KindName(kind));
}

}  // namespace

QString BitrateCellText(std::int32_t bitsPerSecond, const QLocale& locale) {
    return QCoreApplication::translate("FileList", "%1 kbps")
        .arg(locale.toString(mp3::BitrateKbps(bitsPerSecond)));
}

int AppendFileEntry(FileList& list, const QString& path, std::int32_t bitsPerSecond,
                    const QLocale& locale) {
    const int index = list.append(path);
    list.setBitrateText(index, BitrateCellText(bitsPerSecond, locale));
    return index;
}

bool ReadsAsMp3(mp3::MP3Info& info, const QString& path, QString& failure) {
    try {
        // The reader opens files by their name in the file system's encoding.
        return info.ReadMP3Info(QFile::encodeName(path).toStdString());
    } catch (const mp3::AnalysisError& error) {
        failure = AnalysisFailureText(error.kind());
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
    guard.step(steps.bitrate, [&] {
        filler.list.setBitrateText(index, BitrateCellText(bitsPerSecond, filler.window.locale()));
    });
    return index > 0;
}

}  // namespace mirelune

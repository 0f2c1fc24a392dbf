// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/RunMark.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>

#include "reduce/LeftoverSweep.h"
#include "reduce/RandomTag.h"
#include "reduce/RunLiveness.h"
#include "reduce/TemporaryResultName.h"
#include "shell/PathHelpers.h"

namespace mirelune {
namespace {

struct Holds {
    QHash<QString, int> count;  // by absolute folder
    QSet<QString> swept;
};

Holds& HoldsOfThisProcess() {
    static Holds holds;
    return holds;
}

QString Key(const QString& folder) {
    return QDir(folder.isEmpty() ? QStringLiteral(".") : folder).absolutePath();
}

bool PlaceMark(const QString& folder) {
    const QString mark = RunMarkPath(folder, RunTag());
    if (QFile::exists(mark)) {
        // Refreshed: another run judges a run of another machine by its
        // mark's time.
        QFile file(mark);
        return file.open(QIODevice::ReadWrite) &&
               file.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime);
    }
    QDir(folder).mkdir(QLatin1String(kRecordFolderName));
    return WriteRunMark(mark);
}

}  // namespace

QString RunTag() {
    static const QString tag = RandomTag(static_cast<int>(temporary_result::kRunTagLength));
    return tag;
}

QString RunFolderIn(const QString& folder) {
    return QDir(folder.isEmpty() ? QStringLiteral(".") : folder)
        .filePath(QLatin1String(kRecordFolderName));
}

QString RunMarkPath(const QString& folder, const QString& runTag) {
    return RunFolderIn(folder) + QLatin1Char('/') + runTag + QStringLiteral(".run");
}

RunMarkHold::RunMarkHold(const QString& folder) : folder_(Key(folder)) {
    Holds& holds = HoldsOfThisProcess();
    if (!holds.swept.contains(folder_)) {
        holds.swept.insert(folder_);
        SweepResultFolder(folder_, QDateTime::currentDateTime());
    }
    marked_ = PlaceMark(folder_);
    ++holds.count[folder_];
}

RunMarkHold::~RunMarkHold() {
    Holds& holds = HoldsOfThisProcess();
    if (--holds.count[folder_] > 0) {
        return;
    }
    holds.count.remove(folder_);
    // The folder stays: the records of results live there too, and another
    // run may be about to write in it.
    QFile::remove(RunMarkPath(folder_, RunTag()));
}

}  // namespace mirelune

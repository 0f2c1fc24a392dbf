// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StartUpDefaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QStandardPaths>

#include "shell/PathHelpers.h"

namespace mirelune {

int DrawPercent() {
    return static_cast<int>(QRandomGenerator::global()->bounded(1, 101));
}

QString DefaultOutputFolder() {
    // The desktop location is named even on systems that have no such
    // folder; offering a folder that does not exist would only make the
    // first job fail.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (folder.isEmpty() || !IsFolder(folder)) {
        folder = QDir::homePath();
    }
    folder = QDir::toNativeSeparators(folder);
    if (!folder.endsWith(QChar(kPathSeparator))) {
        folder += QChar(kPathSeparator);
    }
    return folder;
}

QString ApplicationFolderOf(const QString& programFolder) {
    const QString installed = QDir::cleanPath(programFolder + QStringLiteral("/../share/mirelune"));
    return QDir::toNativeSeparators(IsFolder(installed) ? installed
                                                        : QDir::cleanPath(programFolder));
}

QString ApplicationFolder() {
    return ApplicationFolderOf(QCoreApplication::applicationDirPath());
}

}  // namespace mirelune

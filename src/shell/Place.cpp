// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Place.h"

#include <QDir>
#include <QFileInfo>

namespace mirelune {
namespace {

QString TextOf(const QString& path) {
    const QFileInfo info(path);
    QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (folder.isEmpty()) {
        folder = QDir::cleanPath(info.absolutePath());
    }
    return folder + QLatin1Char('/') + info.fileName();
}

}  // namespace

Place::Place(const QString& path) : path_(path), identity_(IdentityOf(path)), text_(TextOf(path)) {}

QString Place::fileKey() const {
    if (identity_) {
        return QString::number(static_cast<qulonglong>(identity_->device)) + QLatin1Char(':') +
               QString::number(static_cast<qulonglong>(identity_->inode));
    }
    return absolutePath();
}

QString Place::targetKey() const {
    return identity_ ? QString::number(identity_->device) : QDir::cleanPath(path_);
}

QString Place::absolutePath() const {
    return QDir::cleanPath(QFileInfo(path_).absoluteFilePath());
}

}  // namespace mirelune

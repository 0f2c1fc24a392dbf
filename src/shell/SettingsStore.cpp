// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>
#include <map>

#include "shell/WindowLayer.h"

namespace mirelune {

namespace {

// Process-wide, like the file itself: all stores on one file agree, wherever
// they were created.
struct SharedState {
    QString defaultFolder;
    bool unsavedNoticeShown = false;
    // Per file: values whose write failed; they win over the file until a
    // later write gets them to disk.
    std::map<QString, std::map<QString, QString>> unsaved;
};

SharedState& Shared() {
    static SharedState state;
    return state;
}

QString QualifiedKey(const QString& key) {
    return QString::fromUtf8(kSettingsGroup) + QLatin1Char('/') + key;
}

QString StoredText(const QVariant& value) {
    // An unquoted value with commas, as a hand-edited file may hold, parses
    // as a list; a folder path must still come back as one text.
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QStringLiteral(", "));
    }
    return value.toString();
}

QString UnsavedNoticeText(const QString& filePath) {
    return QCoreApplication::translate(
               "SettingsStore",
               "Your settings cannot be saved in %1. Mirelune keeps working, but "
               "your choices will not be remembered the next time it starts.")
        .arg(QDir::toNativeSeparators(filePath));
}

}  // namespace

SettingsStore::SettingsStore(WindowLayer& window) : SettingsStore(window, defaultFolder()) {}

SettingsStore::SettingsStore(WindowLayer& window, const QString& folder)
    : window_(window), filePath_(QDir(folder).filePath(QString::fromUtf8(kSettingsFileName))) {}

QString SettingsStore::get(const QString& key, const QString& defaultText) const {
    const auto pending = Shared().unsaved.find(filePath_);
    if (pending != Shared().unsaved.end()) {
        const auto kept = pending->second.find(key);
        if (kept != pending->second.end()) {
            return kept->second;
        }
    }
    // A fresh QSettings reads the file again when another instance changed it.
    const QSettings file(filePath_, QSettings::IniFormat);
    return StoredText(file.value(QualifiedKey(key), defaultText));
}

void SettingsStore::save(const QString& key, const QString& value) {
    std::map<QString, QString>& pending = Shared().unsaved[filePath_];
    pending[key] = value;
    // A fresh object per write, so status() speaks of this write alone. A
    // format error in the old file does not stop Qt from writing the new one.
    QSettings file(filePath_, QSettings::IniFormat);
    for (const auto& [keptKey, keptValue] : pending) {
        file.setValue(QualifiedKey(keptKey), keptValue);
    }
    file.sync();
    if (file.status() != QSettings::AccessError) {
        Shared().unsaved.erase(filePath_);
        return;
    }
    if (!Shared().unsavedNoticeShown) {
        // Set first: the box runs an event loop in which another save may come.
        Shared().unsavedNoticeShown = true;
        window_.showMessage(UnsavedNoticeText(filePath_));
    }
}

void SettingsStore::setDefaultFolder(const QString& folder) {
    Shared().defaultFolder = folder;
}

QString SettingsStore::defaultFolder() {
    if (!Shared().defaultFolder.isEmpty()) {
        return Shared().defaultFolder;
    }
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

void SettingsStore::resetUnsavedNotice() {
    Shared().unsavedNoticeShown = false;
}

}  // namespace mirelune

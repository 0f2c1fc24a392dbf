// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/FolderScan.h"

#include <QCoreApplication>

#include "filelist/RefusedFiles.h"
#include "shell/ErrorGuard.h"
#include "shell/ErrorLocations.h"
#include "shell/SettingsStore.h"
#include "shell/WindowLayer.h"

namespace mirelune {

namespace {

QString& LastFolder() {
    static QString folder;
    return folder;
}

const QString kExtensionKey = QStringLiteral("Extension");
const QString kLastFolderKey = QStringLiteral("LastFolder");

}  // namespace

QString RememberedLastFolder() {
    return LastFolder();
}

void RunFolderScan(FolderScanHost& host) {
    WindowLayer& window = host.window;
    ErrorGuard g(window, QString::fromUtf8(location::kPushButton3Click));
    QString extension;
    g.step(100, [&] {
        const QString stored = host.settings.get(kExtensionKey, QStringLiteral("mp3"));
        extension = window.inputBox(QCoreApplication::translate("FolderScan", kExtensionPrompt),
                                    window.applicationTitle(), stored);
        if (!extension.isEmpty()) {
            host.settings.save(kExtensionKey, extension);
        }
    });
    if (g.test(102, [&] { return extension.isEmpty(); })) {
        return;
    }
    QString chosen;
    g.step(106, [&] {
        LastFolder() = host.settings.get(kLastFolderKey, QString());
        chosen = window.browseForFolder(
            QCoreApplication::translate("FolderScan", kFolderBrowserTitle), LastFolder());
    });
    if (g.test(108, [&] { return chosen.isEmpty(); })) {
        return;
    }
    g.step(333, [&] { LastFolder() = chosen; });
    g.step(334, [&] { host.settings.save(kLastFolderKey, LastFolder()); });
    g.step(114, [&] { host.setBusyPointer(true); });
    RefusedFiles refused;
    OfferFolderTreeFiles(chosen, QStringLiteral("*.") + extension, window, g, host.offerCandidate,
                         refused);
    g.step(144, [&] { host.setBusyPointer(false); });
    g.step(146, [&] { refused.show(window); });
}

}  // namespace mirelune

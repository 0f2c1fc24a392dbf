// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/WindowLayer.h"

#include "shell/ApplicationTitle.h"

namespace mirelune {

WindowLayer::WindowLayer()
    : applicationTitle_(ApplicationTitleFor(QString::fromUtf8(kProductName))) {}

void WindowLayer::showMessage(const QString& text) {
    messageBox(text, applicationTitle_, MessageButtons::Ok, MessageIcon::None);
}

bool WindowLayer::openFolder(const QString& path) {
    return openUrl(QUrl::fromLocalFile(path));
}

bool WindowLayer::openAddress(const QString& address) {
    return openUrl(QUrl(address));
}

QString LineBreaksForDisplay(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

}  // namespace mirelune

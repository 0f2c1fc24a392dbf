// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/HeadlessWindowLayer.h"

#include <cstdio>

namespace mirelune {

MessageAnswer HeadlessWindowLayer::messageBox(const QString& text, const QString& title,
                                              MessageButtons buttons, MessageIcon) {
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(title),
                 qUtf8Printable(LineBreaksForDisplay(text)));
    switch (buttons) {
        case MessageButtons::YesNo:
            return MessageAnswer::No;
        case MessageButtons::YesNoCancel:
            return MessageAnswer::Cancel;
        case MessageButtons::Ok:
            break;
    }
    return MessageAnswer::Ok;
}

QString HeadlessWindowLayer::inputBox(const QString&, const QString&, const QString&) {
    return {};
}

QString HeadlessWindowLayer::browseForFolder(const QString&, const QString&) {
    return {};
}

QStringList HeadlessWindowLayer::openFiles(const QString&, const QString&) {
    return {};
}

bool HeadlessWindowLayer::openUrl(const QUrl&) {
    return false;
}

}  // namespace mirelune

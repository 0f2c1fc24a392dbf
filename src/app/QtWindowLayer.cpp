// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/QtWindowLayer.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QSpacerItem>

namespace mirelune {

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// Room the window manager takes beside the title: the window icon and the
// title bar's buttons, in multiples of the font's height.
constexpr int kTitleBarExtraLines = 8;

// A box shaped to its text alone can be narrower than its title, which the
// window manager then cuts short ("Mir…ne"). The spacer, owned by the box's
// layout, keeps it wide enough for the whole title.
void KeepTitleWhole(QMessageBox& box, const QString& title) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) {
        return;
    }
    const QFontMetrics metrics(box.font());
    const int width = metrics.horizontalAdvance(title) + kTitleBarExtraLines * metrics.height();
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

MessageAnswer QtWindowLayer::messageBox(const QString& text, const QString& title,
                                        MessageButtons buttons, MessageIcon icon) {
    QMessageBox box(ToQtIcon(icon), title, LineBreaksForDisplay(text), QMessageBox::NoButton,
                    owner_);
    // Paths and failure texts may hold "<" or "&": never let them become markup.
    box.setTextFormat(Qt::PlainText);
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        KeepTitleWhole(box, title);
        return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    if (buttons == MessageButtons::YesNoCancel) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        // Enter must not be the answer that gives something up.
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::Cancel);
        switch (box.exec()) {
            case QMessageBox::Yes:
                return MessageAnswer::Yes;
            case QMessageBox::No:
                return MessageAnswer::No;
            default:
                return MessageAnswer::Cancel;
        }
    }
    box.setStandardButtons(QMessageBox::Ok);
    KeepTitleWhole(box, title);
    box.exec();
    return MessageAnswer::Ok;
}

QString QtWindowLayer::inputBox(const QString& prompt, const QString& title,
                                const QString& defaultText) {
    bool accepted = false;
    const QString answer = QInputDialog::getText(owner_, title, LineBreaksForDisplay(prompt),
                                                 QLineEdit::Normal, defaultText, &accepted);
    return accepted ? answer : QString();
}

QString QtWindowLayer::browseForFolder(const QString& title, const QString& initialFolder) {
    const QString chosen =
        QFileDialog::getExistingDirectory(owner_, title, initialFolder, QFileDialog::ShowDirsOnly);
    return QDir::toNativeSeparators(chosen);
}

QStringList QtWindowLayer::openFiles(const QString& title, const QString& filter) {
    QStringList picked = QFileDialog::getOpenFileNames(owner_, title, QString(), filter);
    for (QString& path : picked) {
        path = QDir::toNativeSeparators(path);
    }
    return picked;
}

bool QtWindowLayer::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

void QtWindowLayer::yieldToEvents() {
    QCoreApplication::processEvents();
}

}  // namespace mirelune

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
#include <QShowEvent>
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

// Every box sits over the middle of its window. Qt places a box from where it
// believes the window is: on X11 that is the screen's top-left corner until
// the window manager has told where it put a new window, and before the
// window is first shown there is no window to go by at all. The window knows
// its place from the start (Form1 puts itself in the middle of its screen).
template <class Dialog>
class CentredBox : public Dialog {
  public:
    using Dialog::Dialog;

  protected:
    // After the box's own handling, where a message box takes its size, and
    // before the box reaches the screen.
    void showEvent(QShowEvent* event) override {
        Dialog::showEvent(event);
        const QWidget* owner = this->parentWidget();
        if (owner != nullptr) {
            // Inner rectangles, middle on middle: a window manager that has
            // not framed the box yet takes a move() as the inner position,
            // one that has as the frame's, but both agree on the inside.
            const QPoint middle = owner->window()->geometry().center();
            this->setGeometry(
                QRect(middle - QPoint(this->width() / 2, this->height() / 2), this->size()));
        }
    }
};

}  // namespace

MessageAnswer QtWindowLayer::messageBox(const QString& text, const QString& title,
                                        MessageButtons buttons, MessageIcon icon) {
    CentredBox<QMessageBox> box(ToQtIcon(icon), title, LineBreaksForDisplay(text),
                                QMessageBox::NoButton, owner_);
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
    CentredBox<QInputDialog> box(owner_);
    box.setWindowTitle(title);
    box.setLabelText(LineBreaksForDisplay(prompt));
    box.setTextValue(defaultText);
    return box.exec() == QDialog::Accepted ? box.textValue() : QString();
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

QLocale QtWindowLayer::locale() const {
    return owner_ ? owner_->locale() : QLocale();
}

}  // namespace mirelune

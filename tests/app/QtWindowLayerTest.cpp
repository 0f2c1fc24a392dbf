// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "app/QtWindowLayer.h"

namespace mirelune {
namespace {

// Acts on the next modal dialog of type Dialog once it is up. The layer's
// calls block in the dialog's own event loop, so the action is polled from a
// timer; an action that never finds its dialog would hang the test, so it
// gives up and closes whatever is modal after a few seconds.
template <class Dialog>
void WhenShown(std::function<void(Dialog*)> action) {
    auto* timer = new QTimer(qApp);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, tries, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<Dialog*>(modal)) {
            timer->stop();
            timer->deleteLater();
            action(dialog);
        } else if (++*tries > 500) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "the expected dialog never showed";
            if (modal != nullptr) {
                modal->close();
            }
        }
    });
    timer->start(10);
}

// Qt puts a box where it believes the window is: before the window is first
// shown, and on X11 until the window manager has said where it went, that is
// nowhere near it.
TEST(QtWindowLayer, BoxesSitOverTheMiddleOfTheirWindowShownOrNotYet) {
    for (const bool shown : {false, true}) {
        SCOPED_TRACE(shown ? "shown" : "not shown yet");
        QWidget owner;
        owner.setFixedSize(536, 497);
        owner.move(150, 60);
        if (shown) {
            owner.show();
        }
        QtWindowLayer layer(&owner);
        QPoint messageCentre;
        QPoint inputCentre;
        WhenShown<QMessageBox>([&](QMessageBox* box) {
            messageCentre = box->frameGeometry().center();
            box->button(QMessageBox::Ok)->click();
        });
        layer.messageBox("A rather long message,\nin two lines", "Title", MessageButtons::Ok,
                         MessageIcon::None);
        WhenShown<QInputDialog>([&](QInputDialog* box) {
            inputCentre = box->frameGeometry().center();
            box->reject();
        });
        layer.inputBox("Extension?", "Title", "mp3");
        for (const QPoint& centre : {messageCentre, inputCentre}) {
            EXPECT_LE((centre - QPoint(417, 308)).manhattanLength(), 2)
                << centre.x() << "," << centre.y();
        }
    }
}

TEST(QtWindowLayer, MessageBoxShowsPlainTextWithLineBreaksAndReturnsOk) {
    QtWindowLayer layer;
    QString shownText;
    QString shownTitle;
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
    WhenShown<QMessageBox>([&](QMessageBox* box) {
        shownText = box->text();
        shownTitle = box->windowTitle();
        shownIcon = box->icon();
        format = box->textFormat();
        box->button(QMessageBox::Ok)->click();
    });

    const MessageAnswer answer =
        layer.messageBox("<b>failed</b>\r\nin X at line 1\r\rPlease", "Application Error",
                         MessageButtons::Ok, MessageIcon::Warning);

    EXPECT_EQ(answer, MessageAnswer::Ok);
    EXPECT_EQ(shownText, QStringLiteral("<b>failed</b>\nin X at line 1\n\nPlease"));
    EXPECT_EQ(shownTitle, QStringLiteral("Application Error"));
    EXPECT_EQ(shownIcon, QMessageBox::Warning);
    EXPECT_EQ(format, Qt::PlainText);
}

// The window manager cuts a title that does not fit ("Mir…ne"): besides the
// title itself a box needs room for a title-bar button, about two lines
// high, on either side of a centred title.
TEST(QtWindowLayer, ABoxIsWideEnoughForItsWholeTitle) {
    QtWindowLayer layer;
    for (const char* title : {"Mirelune", "Application Error"}) {
        SCOPED_TRACE(title);
        int width = 0;
        int needed = 0;
        WhenShown<QMessageBox>([&](QMessageBox* box) {
            const QFontMetrics metrics(box->font());
            width = box->width();
            needed = metrics.horizontalAdvance(QString::fromUtf8(title)) + 4 * metrics.height();
            box->button(QMessageBox::Ok)->click();
        });
        layer.messageBox("Done.", QString::fromUtf8(title), MessageButtons::Ok, MessageIcon::None);
        EXPECT_GE(width, needed);
    }
}

TEST(QtWindowLayer, YesNoBoxReturnsTheChoiceAndEscapeMeansNo) {
    QtWindowLayer layer;
    WhenShown<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    EXPECT_EQ(layer.messageBox("Sure?", "T", MessageButtons::YesNo, MessageIcon::Question),
              MessageAnswer::Yes);

    WhenShown<QMessageBox>([](QMessageBox* box) { box->reject(); });
    EXPECT_EQ(layer.messageBox("Sure?", "T", MessageButtons::YesNo, MessageIcon::Question),
              MessageAnswer::No);
}

TEST(QtWindowLayer, YesNoCancelBoxReturnsTheChoiceEnterMeansNoAndEscapeCancel) {
    struct Case {
        std::function<void(QMessageBox*)> act;
        MessageAnswer answer;
    };
    const Case cases[] = {
        {[](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); }, MessageAnswer::Yes},
        {[](QMessageBox* box) { box->defaultButton()->click(); }, MessageAnswer::No},
        {[](QMessageBox* box) { box->button(QMessageBox::Cancel)->click(); },
         MessageAnswer::Cancel},
        {[](QMessageBox* box) { box->reject(); }, MessageAnswer::Cancel},
        {[](QMessageBox* box) { box->close(); }, MessageAnswer::Cancel},
    };
    QtWindowLayer layer;
    for (const Case& c : cases) {
        WhenShown<QMessageBox>(c.act);
        EXPECT_EQ(layer.messageBox("Replace?", "T", MessageButtons::YesNoCancel, MessageIcon::None),
                  c.answer);
    }
}

TEST(QtWindowLayer, InputBoxGivesTheTypedTextOrEmptyOnCancel) {
    QtWindowLayer layer;
    QString shownDefault;
    QString shownPrompt;
    WhenShown<QInputDialog>([&](QInputDialog* dialog) {
        shownDefault = dialog->textValue();
        shownPrompt = dialog->labelText();
        dialog->setTextValue("wav");
        dialog->accept();
    });
    EXPECT_EQ(
        layer.inputBox("Enter file extension to load:\r\r(* for all files)", "Mirelune", "mp3"),
        QStringLiteral("wav"));
    EXPECT_EQ(shownDefault, QStringLiteral("mp3"));
    EXPECT_EQ(shownPrompt, QStringLiteral("Enter file extension to load:\n\n(* for all files)"));

    WhenShown<QInputDialog>([](QInputDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(layer.inputBox("Extension?", "Mirelune", "mp3"), QString());
}

TEST(QtWindowLayer, FolderBrowserOpensAtTheInitialFolderAndCancelGivesEmpty) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    QtWindowLayer layer;
    QString openedAt;
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        openedAt = dialog->directory().absolutePath();
        dialog->reject();
    });
    EXPECT_EQ(layer.browseForFolder("Please select folder:", temp.path()), QString());
    EXPECT_EQ(openedAt, temp.path());
}

TEST(QtWindowLayer, YieldRunsPendingEvents) {
    QtWindowLayer layer;
    bool ran = false;
    QMetaObject::invokeMethod(
        qApp, [&] { ran = true; }, Qt::QueuedConnection);
    layer.yieldToEvents();
    EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

#include "app/Form1.h"
#include "shell/ErrorGuard.h"
#include "shell/ErrorLocations.h"
#include "shell/PathHelpers.h"
#include "shell/SettingsConversions.h"
#include "shell/WindowLayer.h"

namespace mirelune {
namespace {

inline constexpr char kOutputFolderBrowserTitle[] =
    QT_TRANSLATE_NOOP("FolderScan", "Please select folder:");

}  // namespace

void Form1::Combo1_Click(int index) {
    if (index < 0) {
        return;  // nothing chosen: nothing to remember
    }
    settings_.save(QStringLiteral("Combo1"), QString::number(index));
}

void Form1::OptionClick() {
    settings_.save(QStringLiteral("Option1"), BooleanText(Option1->isChecked()));
    settings_.save(QStringLiteral("Option2"), BooleanText(Option2->isChecked()));
    Frame2->setEnabled(Option1->isChecked());
}

void Form1::Text1_Change(const QString& text) {
    settings_.save(QStringLiteral("Text1"), text);
}

void Form1::PushButton7_Click() {
    ErrorGuard g(*window_, location::kPushButton7Click);
    QString chosen;
    g.step(100, [&] {
        chosen = window_->browseForFolder(
            QCoreApplication::translate("FolderScan", kOutputFolderBrowserTitle),
            settings_.get(QStringLiteral("LastFolderDot"), QString()));
    });
    if (g.test(102, [&] { return chosen.isEmpty(); })) {
        return;
    }
    const QChar separator(kPathSeparator);
    if (g.test(104, [&] {
            settings_.save(QStringLiteral("LastFolderDot"), chosen);
            return !chosen.endsWith(separator);
        })) {
        g.step(106, [&] { Text1->setText(chosen + separator); });
        return;
    }
    // A root folder already ends in the separator.
    g.step(108, [&] { Text1->setText(chosen); });
}

}  // namespace mirelune

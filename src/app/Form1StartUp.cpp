// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTreeView>

#include "app/Appearance.h"
#include "app/ApplicationIcon.h"
#include "app/Form1.h"
#include "app/StartUpDefaults.h"
#include "app/WindowCommandLine.h"
#include "filelist/FileDrop.h"
#include "filelist/FileList.h"
#include "filelist/RefusedFiles.h"
#include "mp3/MP3Info.h"
#include "reduce/ReduceJob.h"
#include "reduce/ReduceOptions.h"
#include "shell/ApplicationTitle.h"
#include "shell/ErrorGuard.h"
#include "shell/ErrorLocations.h"
#include "shell/Failure.h"
#include "shell/PathHelpers.h"
#include "shell/SettingsConversions.h"
#include "shell/WindowLayer.h"

namespace mirelune {
namespace {

// A drop-down list starts with nothing chosen, and filling it must not choose
// (and so save) an entry: only restoring the user's choice does.
void AppendEntryKeepingSelection(QComboBox& combo, const QString& entry) {
    const int chosen = combo.currentIndex();
    const QSignalBlocker quiet(combo);
    combo.addItem(ReduceEntryCaption(entry), entry);
    combo.setCurrentIndex(chosen);
}

void SelectEntry(QComboBox& combo, int index) {
    if (index < 0 || index >= combo.count()) {
        throw Failure(
            QCoreApplication::translate("Form1", "There is no entry %1 in the list of bitrates.")
                .arg(index));
    }
    combo.setCurrentIndex(index);
}

// Option buttons in one group clear each other when one is selected; only an
// edited store can ask for neither, and that must show as neither.
void SetOptionSelected(QRadioButton& option, bool selected) {
    if (selected) {
        option.setChecked(true);
        return;
    }
    option.setAutoExclusive(false);
    option.setChecked(false);
    option.setAutoExclusive(true);
}

}  // namespace

void Form1::Form_Load() {
    ErrorGuard g(*window_, location::kFormLoad);
    g.step(100, [&] {
        const QString skin = SkinFilePath(applicationFolder_);
        if (SkinFilePresent(skin)) {
            ApplySkin(*this, skin);
        }
    });
    const QString productName = QString::fromUtf8(kProductName);
    g.step(102, [&] { setWindowTitle(productName); });
    g.step(102, [&] { setWindowIcon(ApplicationIcon()); });
    g.step(102, [&] { window_->setApplicationTitle(ApplicationTitleFor(productName)); });
    const QString handPointer = HandPointerPath(applicationFolder_);
    if (g.test(104, [&] { return PathExists(handPointer); })) {
        g.step(106, [&] { handPointer_ = LoadPointerFile(handPointer); });
    }
    g.step(108, [&] {
        if (drawPercent_() == kHomePageDraw && !homePageAddress_.isEmpty()) {
            window_->openAddress(homePageAddress_);
        }
    });

    g.step(132, [&] {
        fileList_->setColumnHeader(0, QCoreApplication::translate("Form1", "MP3 File(s)"));
    });
    g.step(134,
           [&] { fileList_->setColumnHeader(1, QCoreApplication::translate("Form1", "Bitrate")); });
    g.step(136, [&] { ListView1->header()->resizeSection(0, 6000 / 15); });
    g.step(138, [&] { ListView1->header()->resizeSection(1, 1200 / 15); });
    g.step(140, [&] { mp3Info_ = std::make_unique<mp3::MP3Info>(); });

    const QStringList& entries = ReduceEntries();
    for (int i = 0; i < entries.size(); ++i) {
        g.step(142 + 2 * i, [&] { AppendEntryKeepingSelection(*Combo1, entries.at(i)); });
    }
    g.step(170, [&] {
        SelectEntry(*Combo1, ToIndex16(settings_.get(QStringLiteral("Combo1"),
                                                     QString::number(kDefaultReduceEntry))));
    });
    g.step(172,
           [&] { Text1->setText(settings_.get(QStringLiteral("Text1"), DefaultOutputFolder())); });
    g.step(174, [&] {
        SetOptionSelected(*Option1, ToBoolean(settings_.get(QStringLiteral("Option1"), "1")));
    });
    g.step(176, [&] {
        SetOptionSelected(*Option2, ToBoolean(settings_.get(QStringLiteral("Option2"), "0")));
    });
    if (g.test(178, [&] { return Option1->isChecked(); })) {
        g.step(180, [&] { Frame2->setEnabled(true); });
    } else {
        g.step(182, [&] { Frame2->setEnabled(false); });
    }
    connectOptionHandlers();
}

void Form1::OpenPaths(const QStringList& paths, const RefusedFiles& leftOut) {
    CatchAll(*window_, location::FormHandler(QStringLiteral("ListView1_OLEDragDrop")), [&] {
        RefusedFiles refused = leftOut;
        const QStringList existing = ExistingPaths(paths, refused);
        AddDroppedPaths(existing, *window_, candidateAdder(), refused);
    });
}

// Closing the one window ends the program: Qt quits when the last window
// closes, and that ends every event loop still running inside a handler, so a
// job's run() returns before main() lets the window go.
void Form1::closeEvent(QCloseEvent* event) {
    Form_QueryUnload();
    event->accept();
}

// Nothing is asked and nothing is saved: every choice was saved when it was
// made. The MP3 reader stays until the window object goes, since an operation
// still running inside the window's event handling may be holding it. A
// running job's encoder is stopped now, and its unfinished result and the
// encoder copy removed, rather than left behind when the program ends.
void Form1::Form_QueryUnload() {
    ErrorGuard g(*window_, location::kFormQueryUnload);
    g.step(100, [&] {
        closing_ = true;
        window_->setClosing();
        reduceJob_->abort();
    });
}

}  // namespace mirelune

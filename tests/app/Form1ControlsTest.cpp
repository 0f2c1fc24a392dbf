// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>
#include <QTreeView>

#include "app/WindowTestSupport.h"
#include "filelist/FileList.h"

namespace mirelune {
namespace {

class ControlsTest : public test::WindowTest {};

// The form's own table: container, caption, and left, top, width, height in
// twips, which the window shows at 15 twips to the pixel.
struct Placement {
    const char* name;
    const char* parent;
    const char* caption;
    int left, top, width, height;
};
const Placement kPlacements[] = {
    {"Frame3", "Form1", "Save Option", 120, 4590, 7800, 1815},
    {"Option2", "Frame3", "Save results in folder of original file", 240, 1410, 3615, 255},
    {"Option1", "Frame3", "Save results to this folder:", 240, 270, 3615, 255},
    {"Frame2", "Frame3", "", 480, 510, 6840, 810},
    {"Text1", "Frame2", nullptr, 240, 300, 5670, 345},
    {"PushButton7", "Frame2", "...", 6000, 300, 600, 345},
    {"ListView1", "Form1", nullptr, 120, 120, 7800, 2535},
    {"Frame1", "Form1", "Reduce Options", 120, 3705, 7800, 800},
    {"Combo1", "Frame1", nullptr, 240, 300, 7335, 345},
    {"ProgressBar1", "Form1", nullptr, 120, 6960, 7800, 405},
    {"PushButton1", "Form1", "Add MP3 File(s)", 120, 2750, 3840, 405},
    {"PushButton3", "Form1", "Add All MP3 File(s) In Folder", 4080, 2750, 3840, 405},
    {"PushButton2", "Form1", "Start Reducing", 120, 6480, 7800, 405},
    {"PushButton4", "Form1", "Clear List", 120, 3260, 3840, 405},
    {"PushButton5", "Form1", "Load Sample/Example Files", 4080, 3260, 3840, 405},
};

int Pixels(int twips) {
    return qRound(twips / 15.0);
}

QString CaptionOf(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
        return frame->title();
    }
    return QString();
}

TEST_F(ControlsTest, EveryControlSitsWhereTheFormPutsIt) {
    Form1& form = start();
    EXPECT_EQ(form.objectName(), "Form1");
    EXPECT_EQ(form.size(), QSize(Pixels(8040), Pixels(7455)));
    for (const Placement& p : kPlacements) {
        SCOPED_TRACE(p.name);
        QWidget* widget = control<QWidget>(p.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), p.parent);
        EXPECT_EQ(widget->geometry(),
                  QRect(Pixels(p.left), Pixels(p.top), Pixels(p.width), Pixels(p.height)));
        if (p.caption != nullptr) {
            EXPECT_EQ(CaptionOf(widget), QString::fromUtf8(p.caption));
        }
    }
}

// The window manager must not offer to resize or maximise it.
TEST_F(ControlsTest, TheWindowSaysItIsFixedInSize) {
    Form1& form = start();
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::MSWindowsFixedSizeDialogHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
}

TEST_F(ControlsTest, TheListIsAReportViewWithItsToolTip) {
    start();
    auto* list = control<QTreeView>("ListView1");
    EXPECT_EQ(list->model(), static_cast<QAbstractItemModel*>(&form().fileList()));
    EXPECT_FALSE(list->rootIsDecorated());
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list->textElideMode(), Qt::ElideMiddle);
    // Rich text, so that it wraps.
    EXPECT_EQ(list->toolTip(),
              "<p style=\"white-space:pre-wrap\">Drag and drop files here. Double-click item to "
              "remove it. Move | line to right and out of window to reveal full names.</p>");
}

TEST_F(ControlsTest, EnterPressesTheFocusedButtonAsSpaceDoes) {
    start();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        form().fileList().append("/a.mp3", "128 kbps");
        QTest::keyClick(control<QAbstractButton>("PushButton4"), key);
        EXPECT_EQ(form().fileList().count(), 0) << key;
    }
}

TEST_F(ControlsTest, TheProgressBarShowsItsCaptionWordForWord) {
    Form1& form = start();
    auto* bar = control<QProgressBar>("ProgressBar1");
    EXPECT_EQ(form.progressValue(), 0);
    EXPECT_EQ(bar->text(), "Progress Bar");

    form.setProgressValue(33);
    form.setProgressText("Processing: 100%v of %p.mp3");
    EXPECT_EQ(bar->value(), 33);
    EXPECT_EQ(bar->text(), "Processing: 100%v of %p.mp3");
    EXPECT_EQ(form.progressText(), "Processing: 100%v of %p.mp3");
}

TEST_F(ControlsTest, TheReduceOptionsAreReadFromTheControls) {
    store("Combo1", "13");
    store("Text1", "/out/");
    store("Option1", "False");
    store("Option2", "True");
    Form1& form = start();
    const ReduceOptions options = form.reduceOptions();
    EXPECT_EQ(options.entryText, "Reduce to 320 kbps");
    EXPECT_EQ(TargetKbps(options.entryText), 320);
    EXPECT_FALSE(options.option1);
    EXPECT_TRUE(options.option2);
    EXPECT_EQ(options.outputFolder, "/out/");
}

TEST_F(ControlsTest, TheWindowHandsOutWhatOtherOperationsNeed) {
    Form1& form = start();
    EXPECT_EQ(&form.windowLayer(), &window());
    EXPECT_EQ(form.applicationFolder(), applicationFolder_);
    const FileListFiller filler = form.fileListFiller();
    EXPECT_EQ(&filler.list, &form.fileList());
    EXPECT_EQ(&filler.info, &form.mp3Info());
    EXPECT_EQ(&filler.window, &window());

    EXPECT_FALSE(form.isBusy());
    form.setBusyPointer(true);
    EXPECT_TRUE(form.isBusy());
    EXPECT_EQ(form.cursor().shape(), Qt::WaitCursor);
    form.setBusyPointer(false);
    EXPECT_FALSE(form.isBusy());
    EXPECT_EQ(form.pointerKind(), PointerKind::Default);
}

}  // namespace
}  // namespace mirelune

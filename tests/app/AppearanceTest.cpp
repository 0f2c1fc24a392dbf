// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Appearance.h"

#include <sys/stat.h>

#include <QBuffer>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QImageWriter>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <fstream>

#include "app/WindowTestSupport.h"
#include "shell/ErrorLocations.h"

namespace mirelune {
namespace {

// A 32 x 32 icon file; as a cursor file its type is 2 and its first entry
// names the hot spot.
QByteArray IconFile(bool asCursor, int hotX = 0, int hotY = 0) {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(QColor(200, 40, 40));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "ico");
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    if (asCursor) {
        bytes[2] = 2;
        bytes[10] = static_cast<char>(hotX);
        bytes[11] = 0;
        bytes[12] = static_cast<char>(hotY);
        bytes[13] = 0;
    }
    return bytes;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path.toStdString()).parent_path());
    std::ofstream out(path.toStdString(), std::ios::binary);
    out.write(bytes.constData(), bytes.size());
}

TEST(CursorFileHotSpot, ReadFromTheFirstEntryOfACursorFileOnly) {
    const QByteArray cursor = IconFile(true, 5, 9);
    ASSERT_TRUE(CursorFileHotSpot(cursor).has_value());
    EXPECT_EQ(*CursorFileHotSpot(cursor), QPoint(5, 9));
    EXPECT_FALSE(CursorFileHotSpot(IconFile(false)).has_value());
    EXPECT_FALSE(CursorFileHotSpot(cursor.left(21)).has_value());
    EXPECT_FALSE(CursorFileHotSpot(QByteArray("not a cursor file at all")).has_value());
}

TEST(PointerFile, LoadsCursorsAndIconsAndRefusesTheRest) {
    test::ScratchDir dir;
    const QString cursor = test::ToQString(dir.file("hand.cur"));
    WriteFile(cursor, IconFile(true, 5, 9));
    const QString icon = test::ToQString(dir.file("drag.ico"));
    WriteFile(icon, IconFile(false));
    const QString text = test::ToQString(dir.file("text.cur"));
    WriteFile(text, "plain words");

    const QCursor loaded = LoadPointerFile(cursor);
    EXPECT_EQ(loaded.shape(), Qt::BitmapCursor);
    EXPECT_EQ(loaded.hotSpot(), QPoint(5, 9));
    EXPECT_TRUE(TryLoadPointerFile(icon).has_value());
    EXPECT_FALSE(TryLoadPointerFile(text).has_value());
    EXPECT_THROW(LoadPointerFile(text), Failure);
    EXPECT_FALSE(TryLoadPointerFile(test::ToQString(dir.file("missing.ico"))).has_value());
    // Opening a FIFO would wait for a writer that never comes.
    const std::string fifo = dir.file("fifo.ico");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_FALSE(TryLoadPointerFile(test::ToQString(fifo)).has_value());
    EXPECT_FALSE(TryLoadPointerFile("/dev/zero").has_value());
}

class AppearanceTest : public test::WindowTest {
  protected:
    QString skinPath() const { return applicationFolder_ + "/x/o.cjs"; }
    QString handPath() const { return applicationFolder_ + "/HAND-M.CUR"; }

    // Which controls took the button-face colour.
    QStringList faced() {
        QStringList names;
        const QColor face = QApplication::palette().color(QPalette::Active, QPalette::Button);
        for (QWidget* widget : form().findChildren<QWidget*>()) {
            // Qt's own parts of a control, such as a list's viewport, fill by themselves.
            if (!widget->objectName().startsWith("qt_") && widget->autoFillBackground() &&
                widget->palette().color(QPalette::Window) == face) {
                names << widget->objectName();
            }
        }
        names.sort();
        return names;
    }
};

TEST_F(AppearanceTest, ASkinFileGivesTheButtonFaceColourAndTheStyleSheet) {
    const QByteArray sheet = "QPushButton { font-weight: bold; }";
    WriteFile(skinPath(), sheet);
    Form1& form = start();
    EXPECT_TRUE(window().boxes().empty());
    EXPECT_EQ(form.styleSheet(), QString::fromUtf8(sheet));
    EXPECT_TRUE(form.autoFillBackground());
    EXPECT_EQ(faced(), (QStringList{"Frame1", "Frame2", "Frame3", "Option1", "Option2"}));
}

TEST_F(AppearanceTest, WithoutASkinFileNothingChanges) {
    struct Case {
        const char* what;
        std::function<void()> make;
    };
    const Case cases[] = {
        {"no file", [] {}},
        {"a folder of that name",
         [this] { std::filesystem::create_directories(skinPath().toStdString()); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.make();
        Form1& form = start();
        EXPECT_TRUE(window().boxes().empty());
        EXPECT_TRUE(form.styleSheet().isEmpty());
        EXPECT_FALSE(form.autoFillBackground());
        EXPECT_TRUE(faced().isEmpty());
    }
}

TEST_F(AppearanceTest, ASkinThatCannotBeReadIsReportedAndTheColoursStay) {
    // A file that opens but fails every read, whatever the rights of the test.
    const std::filesystem::path unreadable = "/proc/self/mem";
    if (!std::filesystem::exists(unreadable)) {
        GTEST_SKIP() << "needs " << unreadable;
    }
    std::filesystem::create_directories(applicationFolder_.toStdString() + "/x");
    std::filesystem::create_symlink(unreadable, skinPath().toStdString());
    Form1& form = start();
    ASSERT_EQ(window().boxes().size(), 1u);
    EXPECT_TRUE(test::IsReport(window().boxes()[0], location::kFormLoad, 100));
    EXPECT_TRUE(form.styleSheet().isEmpty());
    EXPECT_EQ(faced().size(), 5);
    // Start-up went on.
    EXPECT_EQ(form.windowTitle(), "Mirelune");
}

TEST_F(AppearanceTest, TheHandPointerComesFromItsFileWhenThatLoads) {
    struct Case {
        const char* what;
        std::function<void()> make;
        int reportedLine;  // 0: no report
        Qt::CursorShape shape;
    };
    const Case cases[] = {
        {"a cursor file", [this] { WriteFile(handPath(), IconFile(true, 6, 1)); }, 0,
         Qt::BitmapCursor},
        {"no file", [] {}, 0, Qt::PointingHandCursor},
        {"a file that is no image", [this] { WriteFile(handPath(), "not a cursor"); }, 106,
         Qt::PointingHandCursor},
        {"a FIFO", [this] { ::mkfifo(handPath().toStdString().c_str(), 0644); }, 106,
         Qt::PointingHandCursor},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(handPath().toStdString());
        c.make();
        Form1& form = start();
        if (c.reportedLine == 0) {
            EXPECT_TRUE(window().boxes().empty());
        } else {
            ASSERT_EQ(window().boxes().size(), 1u);
            EXPECT_TRUE(test::IsReport(window().boxes()[0], location::kFormLoad, c.reportedLine));
        }
        test::MoveOver(control<QPushButton>("PushButton1"));
        EXPECT_EQ(form.pointerKind(), PointerKind::Custom);
        EXPECT_EQ(form.cursor().shape(), c.shape);
        if (c.shape == Qt::BitmapCursor) {
            EXPECT_EQ(form.cursor().hotSpot(), QPoint(6, 1));
        }
    }
}

TEST_F(AppearanceTest, ThePointerFollowsWhatItMovesOverUnlessBusy) {
    Form1& form = start();
    auto* button = control<QPushButton>("PushButton1");
    auto* browse = control<QPushButton>("PushButton7");
    auto* frame = control<QGroupBox>("Frame1");
    auto* option = control<QRadioButton>("Option1");
    QWidget* list = control<QTreeView>("ListView1")->viewport();
    struct Step {
        const char* what;
        QWidget* over;
        bool busy;
        PointerKind after;
    };
    const Step steps[] = {
        {"a push button", button, false, PointerKind::Custom},
        {"an option button leaves it", option, false, PointerKind::Custom},
        {"a frame", frame, false, PointerKind::Default},
        {"the button inside a frame", browse, false, PointerKind::Custom},
        {"the window's background", &form, false, PointerKind::Default},
        {"a push button again", button, false, PointerKind::Custom},
        {"the list", list, false, PointerKind::Default},
        {"busy over a push button", button, true, PointerKind::Busy},
        {"busy over a frame", frame, true, PointerKind::Busy},
        {"busy over the list", list, true, PointerKind::Busy},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        if (s.busy && !form.isBusy()) {
            form.setBusyPointer(true);
        }
        test::MoveOver(s.over);
        EXPECT_EQ(form.pointerKind(), s.after);
    }
}

TEST_F(AppearanceTest, ADisabledButtonShowsTheArrow) {
    Form1& form = start();
    auto* browse = control<QPushButton>("PushButton7");
    test::MoveOver(browse);
    ASSERT_EQ(form.pointerKind(), PointerKind::Custom);
    // "..." goes with its frame when the results go beside the originals.
    control<QGroupBox>("Frame2")->setEnabled(false);
    test::MoveOver(browse);
    EXPECT_EQ(form.pointerKind(), PointerKind::Default);
}

TEST_F(AppearanceTest, AMoveOverAControlDoesNotCountForTheWindowBehindIt) {
    Form1& form = start();
    auto* button = control<QPushButton>("PushButton1");
    test::MoveOver(button);
    ASSERT_EQ(form.pointerKind(), PointerKind::Custom);
    // The same move as the window sees it when the button passes it on.
    test::MoveOver(&form, button->geometry().center());
    EXPECT_EQ(form.pointerKind(), PointerKind::Custom);
}

}  // namespace
}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include <QItemSelectionModel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>
#include <fstream>
#include <vector>

#include "app/ListGestures.h"
#include "app/WindowTestSupport.h"
#include "filelist/FileList.h"
#include "shell/ErrorLocations.h"

namespace mirelune {
namespace {

class ListTest : public test::WindowTest, protected test::ListGestures {
  protected:
    void SetUp() override {
        start();
        form().show();
        attach(control<QTreeView>("ListView1"));
    }

    void fill(const std::vector<FileEntry>& rows) {
        for (const FileEntry& row : rows) {
            form().fileList().append(row.path, row.bitrateText);
        }
        list->doItemsLayout();
    }
    std::vector<FileEntry> rows() { return test::Entries(form().fileList()); }
    int selectedRow() {
        const QModelIndexList selected = list->selectionModel()->selectedRows();
        return selected.isEmpty() ? 0 : selected.first().row() + 1;
    }
};

const FileEntry kA{"/music/a.mp3", "128 kbps"};
const FileEntry kB{"/music/b.mp3", "192 kbps"};
const FileEntry kC{"/music/c.mp3", "64 kbps"};

TEST_F(ListTest, DeleteAndDoubleClickRemoveTheSelectedRow) {
    struct Case {
        const char* what;
        std::function<void()> act;
        std::vector<FileEntry> after;
    };
    const Case cases[] = {
        {"Delete",
         [this] {
             select(2);
             QTest::keyClick(list, Qt::Key_Delete);
         },
         {kA, kC}},
        {"double-click", [this] { doubleClick(3); }, {kA, kB}},
        {"Delete with nothing selected",
         [this] {
             list->selectionModel()->clearSelection();
             QTest::keyClick(list, Qt::Key_Delete);
         },
         {kA, kB, kC}},
        {"another key",
         [this] {
             select(2);
             QTest::keyClick(list, Qt::Key_Backspace);
         },
         {kA, kB, kC}},
        {"Delete while busy",
         [this] {
             select(2);
             form().setBusyPointer(true);
             QTest::keyClick(list, Qt::Key_Delete);
         },
         {kA, kB, kC}},
        {"double-click while busy",
         [this] {
             form().setBusyPointer(true);
             doubleClick(1);
         },
         {kA, kB, kC}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form().setBusyPointer(false);
        form().fileList().clear();
        fill({kA, kB, kC});
        c.act();
        EXPECT_EQ(rows(), c.after);
    }
    EXPECT_TRUE(window().boxes().empty());
}

TEST_F(ListTest, RemovingFromAnEmptyListDoesNothing) {
    QTest::keyClick(list, Qt::Key_Delete);
    test::SendMouse(viewport, QEvent::MouseButtonDblClick, QPoint(20, 20), Qt::LeftButton,
                    Qt::LeftButton);
    EXPECT_EQ(form().fileList().count(), 0);
    EXPECT_TRUE(window().boxes().empty());
}

TEST_F(ListTest, ClearListEmptiesTheListUnlessBusy) {
    fill({kA, kB});
    form().setBusyPointer(true);
    control<QPushButton>("PushButton4")->click();
    EXPECT_EQ(form().fileList().count(), 2);

    form().setBusyPointer(false);
    control<QPushButton>("PushButton4")->click();
    EXPECT_EQ(form().fileList().count(), 0);
    EXPECT_TRUE(window().boxes().empty());
}

TEST_F(ListTest, DraggingARowMovesItWithItsBitrate) {
    struct Case {
        const char* what;
        int pressed;
        std::vector<int> path;
        bool busy;
        std::vector<int> after;  // the rows as they were, in their new order
    };
    const Case cases[] = {
        {"row 1 to row 3 through row 2", 1, {2, 3}, false, {2, 3, 1, 4, 5, 6}},
        {"row 1 to row 5 in one jump", 1, {5}, false, {2, 3, 4, 5, 1, 6}},
        {"row 6 to row 2 in one jump", 6, {2}, false, {1, 6, 2, 3, 4, 5}},
        {"row 3 to row 1 through row 2", 3, {2, 1}, false, {3, 1, 2, 4, 5, 6}},
        {"while busy", 1, {2, 3}, true, {1, 2, 3, 4, 5, 6}},
    };
    std::vector<FileEntry> six;
    for (int i = 1; i <= 6; ++i) {
        six.push_back({QStringLiteral("/music/%1.mp3").arg(i), QStringLiteral("%1 kbps").arg(i)});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form().setBusyPointer(c.busy);
        form().fileList().clear();
        fill(six);
        press(c.pressed);
        for (int row : c.path) {
            dragTo(row);
        }
        releaseAt(c.path.back());
        std::vector<FileEntry> after;
        for (int row : c.after) {
            after.push_back(six[static_cast<std::size_t>(row - 1)]);
        }
        EXPECT_EQ(rows(), after);
        if (!c.busy) {
            EXPECT_EQ(selectedRow(), c.path.back());
        }
    }
    EXPECT_TRUE(window().boxes().empty());
}

TEST_F(ListTest, ABlankPressOrAnUpButtonDragsNothing) {
    fill({kA, kB, kC});
    // Below the last row.
    test::SendMouse(viewport, QEvent::MouseButtonPress, QPoint(20, viewport->height() - 2),
                    Qt::LeftButton, Qt::LeftButton);
    dragTo(2);
    dragTo(1);
    EXPECT_EQ(rows(), (std::vector<FileEntry>{kA, kB, kC}));

    press(1);
    releaseAt(1);
    test::SendMouse(viewport, QEvent::MouseMove, centreOf(2));
    EXPECT_EQ(rows(), (std::vector<FileEntry>{kA, kB, kC}));
}

TEST_F(ListTest, DuringADragTheListShowsTheDragPointer) {
    struct Case {
        const char* what;
        bool pointerFile;
        Qt::CursorShape shape;
    };
    for (const Case& c : {Case{"from drag.ico", true, Qt::BitmapCursor},
                          Case{"without drag.ico", false, Qt::ClosedHandCursor}}) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(applicationFolder_.toStdString() + "/drag.ico");
        if (c.pointerFile) {
            QImage image(16, 16, QImage::Format_ARGB32);
            image.fill(Qt::blue);
            ASSERT_TRUE(image.save(applicationFolder_ + "/drag.ico", "ico"));
        }
        form().fileList().clear();
        fill({kA, kB});
        press(1);
        EXPECT_TRUE(viewport->testAttribute(Qt::WA_SetCursor));
        EXPECT_EQ(viewport->cursor().shape(), c.shape);
        releaseAt(1);
        EXPECT_FALSE(viewport->testAttribute(Qt::WA_SetCursor));
    }
}

TEST_F(ListTest, DraggingNearTheListsEdgeScrollsIt) {
    for (int i = 0; i < 40; ++i) {
        fill({{QStringLiteral("/music/%1.mp3").arg(i), "128 kbps"}});
    }
    QScrollBar* bar = list->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    ASSERT_EQ(bar->value(), 0);

    // Take the first row down to the last visible one, at the bottom edge.
    const QModelIndex lastVisible = list->indexAt(QPoint(20, viewport->height() - 3));
    ASSERT_TRUE(lastVisible.isValid());
    press(1);
    dragTo(QPoint(20, viewport->height() - 3));
    EXPECT_GT(bar->value(), 0);
    EXPECT_EQ(form().fileList().text(lastVisible.row() + 1), "/music/0.mp3");

    // Back up to the top edge: the rows above come into view again.
    const int scrolled = bar->value();
    dragTo(QPoint(20, 2));
    EXPECT_LT(bar->value(), scrolled);
    releaseAt(1);
}

TEST_F(ListTest, AddMp3FilesAddsThePickedFiles) {
    test::ScratchDir music;
    const QString a = test::WriteMp3At128(music, "a.mp3");
    const QString notMp3 = test::WriteNotMp3(music, "notes.mp3");
    const QString b = test::WriteMp3At192(music, "b.mp3");
    window().queueFiles({a, notMp3, b});
    control<QPushButton>("PushButton1")->click();
    EXPECT_EQ(rows(), (std::vector<FileEntry>{{a, "128 kbps"}, {b, "192 kbps"}}));
    EXPECT_EQ(window().boxes(), std::vector<test::Box>{test::NotValidBox(notMp3)});
}

}  // namespace
}  // namespace mirelune

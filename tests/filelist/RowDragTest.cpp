#include "filelist/RowDrag.h"

#include <gtest/gtest.h>

#include <vector>

#include "filelist/FileList.h"
#include "support/ListTestSupport.h"

namespace mirelune {
namespace {

std::vector<FileEntry> Rows(const FileList& list) {
    std::vector<FileEntry> rows;
    for (int i = 1; i <= list.count(); ++i) {
        rows.push_back(list.entry(i));
    }
    return rows;
}

const FileEntry kA{"/music/a.mp3", "128 kbps"};
const FileEntry kB{"/music/b.mp3", "192 kbps"};
const FileEntry kC{"/music/c.mp3", "64 kbps"};

class RowDragTest : public ::testing::Test {
  protected:
    void fill(const std::vector<FileEntry>& rows) {
        for (const FileEntry& row : rows) {
            list.append(row.path, row.bitrateText);
        }
    }
    void pressOn(int row) {
        drag.press(row > 0 ? QPersistentModelIndex(list.index(row - 1, 0))
                           : QPersistentModelIndex());
    }

    FileList list;
    RowDrag drag;
};

TEST_F(RowDragTest, TheDraggedFileTravelsWithItsBitrate) {
    struct Case {
        const char* what;
        std::vector<FileEntry> rows;
        int pressed;
        std::vector<int> moves;
        bool busy;
        std::vector<FileEntry> after;
    };
    const Case cases[] = {
        {"passing through row 2", {kA, kB, kC}, 1, {1, 2, 3}, false, {kB, kC, kA}},
        {"jumping straight to row 3", {kA, kB, kC}, 1, {1, 3}, false, {kC, kB, kA}},
        {"upwards", {kA, kB, kC}, 3, {2, 1}, false, {kC, kA, kB}},
        {"back where it started", {kA, kB, kC}, 1, {2, 1}, false, {kA, kB, kC}},
        {"over a row with the same path", {kA, kA, kB}, 1, {2}, false, {kA, kA, kB}},
        {"over no row", {kA, kB}, 1, {0, 5}, false, {kA, kB}},
        {"pressed on blank space", {kA, kB, kC}, 0, {1, 2, 3}, false, {kA, kB, kC}},
        {"while busy", {kA, kB, kC}, 1, {2, 3}, true, {kA, kB, kC}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        list.clear();
        fill(c.rows);
        pressOn(c.pressed);
        for (int row : c.moves) {
            drag.move(list, row, ListEdge::None, c.busy);
        }
        drag.release();
        EXPECT_EQ(Rows(list), c.after);
    }
}

TEST_F(RowDragTest, AMoveSelectsTheDraggedRowWhereItLanded) {
    fill({kA, kB, kC});
    pressOn(1);
    const RowDrag::Move move = drag.move(list, 3, ListEdge::None, false);
    EXPECT_TRUE(move.exchanged);
    EXPECT_EQ(move.selectRow, 3);
    EXPECT_EQ(drag.dragRow(), 3);

    const RowDrag::Move none = drag.move(list, 3, ListEdge::None, false);
    EXPECT_FALSE(none.exchanged);
    EXPECT_EQ(none.selectRow, 0);
}

TEST_F(RowDragTest, NearAnEdgeTheNextRowBeyondIsScrolledIntoView) {
    struct Case {
        const char* what;
        int pressed;
        int hover;
        ListEdge edge;
        int scrollTo;
    };
    const Case cases[] = {
        {"top edge shows the row above", 3, 2, ListEdge::Top, 1},
        {"top edge on the first row", 2, 1, ListEdge::Top, 0},
        {"bottom edge shows the row below", 1, 2, ListEdge::Bottom, 3},
        {"bottom edge on the last row", 1, 3, ListEdge::Bottom, 0},
        {"away from the edges", 1, 2, ListEdge::None, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        list.clear();
        fill({kA, kB, kC});
        pressOn(c.pressed);
        EXPECT_EQ(drag.move(list, c.hover, c.edge, false).scrollToRow, c.scrollTo);
    }
}

TEST_F(RowDragTest, ThePickedRowFollowsTheListWhenARowAboveGoes) {
    fill({kA, kB, kC});
    pressOn(3);
    list.remove(1);
    EXPECT_EQ(drag.dragRow(), 2);
    drag.move(list, 1, ListEdge::None, false);
    EXPECT_EQ(Rows(list), (std::vector<FileEntry>{kC, kB}));
}

TEST_F(RowDragTest, ARemovedPickedRowDragsNothing) {
    fill({kA, kB, kC});
    pressOn(2);
    list.remove(2);
    EXPECT_EQ(drag.dragRow(), 0);
    drag.move(list, 1, ListEdge::None, false);
    EXPECT_EQ(Rows(list), (std::vector<FileEntry>{kA, kC}));
}

TEST(ListEdgeAt, MarginsAtTopAndBottom) {
    struct Case {
        int y;
        ListEdge edge;
    };
    // A list area 100 high with margins of 10.
    const Case cases[] = {{-5, ListEdge::Top},    {0, ListEdge::Top},     {9, ListEdge::Top},
                          {10, ListEdge::None},   {89, ListEdge::None},   {90, ListEdge::Bottom},
                          {99, ListEdge::Bottom}, {140, ListEdge::Bottom}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.y);
        EXPECT_EQ(ListEdgeAt(c.y, 100, 10), c.edge);
    }
}

}  // namespace
}  // namespace mirelune

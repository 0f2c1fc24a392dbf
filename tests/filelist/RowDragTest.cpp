// SPDX-License-Identifier: GPL-3.0-or-later
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

// Six rows 1 to 6, for drags that jump several rows.
std::vector<FileEntry> Six() {
    std::vector<FileEntry> rows;
    for (int i = 1; i <= 6; ++i) {
        rows.push_back({QStringLiteral("/music/%1.mp3").arg(i), QStringLiteral("%1 kbps").arg(i)});
    }
    return rows;
}

std::vector<FileEntry> InOrder(const std::vector<int>& rows) {
    const std::vector<FileEntry> six = Six();
    std::vector<FileEntry> ordered;
    for (int row : rows) {
        ordered.push_back(six[static_cast<std::size_t>(row - 1)]);
    }
    return ordered;
}

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

TEST_F(RowDragTest, TheDraggedFileMovesWithItsBitrateAndTheRowsBetweenShift) {
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
        {"jumping straight to row 3", {kA, kB, kC}, 1, {1, 3}, false, {kB, kC, kA}},
        {"one jump from row 1 to row 5 of six", Six(), 1, {5}, false, InOrder({2, 3, 4, 5, 1, 6})},
        {"one jump from row 6 up to row 2", Six(), 6, {2}, false, InOrder({1, 6, 2, 3, 4, 5})},
        {"a jump down, then one back up", Six(), 2, {5, 3}, false, InOrder({1, 3, 2, 4, 5, 6})},
        {"upwards", {kA, kB, kC}, 3, {2, 1}, false, {kC, kA, kB}},
        {"back where it started", {kA, kB, kC}, 1, {2, 1}, false, {kA, kB, kC}},
        {"over a row with the same path", {kA, kA, kB}, 1, {2}, false, {kA, kA, kB}},
        {"past a row with the same path", {kA, kB, kA, kC}, 1, {3}, false, {kB, kA, kA, kC}},
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
    fill(Six());
    pressOn(1);
    const RowDrag::Move move = drag.move(list, 5, ListEdge::None, false);
    EXPECT_TRUE(move.moved);
    EXPECT_EQ(move.selectRow, 5);
    EXPECT_EQ(drag.dragRow(), 5);

    const RowDrag::Move none = drag.move(list, 5, ListEdge::None, false);
    EXPECT_FALSE(none.moved);
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
        {"bottom edge on the last row", 1, 6, ListEdge::Bottom, 0},
        {"a jump to the bottom edge", 1, 5, ListEdge::Bottom, 6},
        {"a jump to the top edge", 6, 2, ListEdge::Top, 1},
        {"away from the edges", 1, 2, ListEdge::None, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        list.clear();
        fill(Six());
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

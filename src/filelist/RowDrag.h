// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPersistentModelIndex>

namespace mirelune {

class FileList;

// Where the pointer is within the list's visible rows during a drag.
enum class ListEdge { None, Top, Bottom };

// The zone of a pointer at y in a list area of the given height: within margin
// of the top or of the bottom edge, or neither.
ListEdge ListEdgeAt(int y, int height, int margin);

// Reordering the list by dragging a row. A press on a row picks it up; while
// the button is held, each move over another row takes the picked row out of
// its place and puts it in at the row under the pointer, and the rows between
// shift by one. So the picked file travels with the pointer and the others
// keep their order, however many rows one movement of the mouse jumps.
//
// The picked row is held as a persistent index, so it keeps pointing at the
// same position while rows are added and follows the list when rows above
// it are removed.
class RowDrag {
  public:
    // What a move asks of the view: the row to select, and a neighbour to
    // scroll into view when the pointer is near an edge (0 when none).
    struct Move {
        bool moved = false;
        int selectRow = 0;
        int scrollToRow = 0;
    };

    // Mouse button down on the list; rowUnderPointer is invalid over blank space,
    // which picks nothing up.
    void press(const QPersistentModelIndex& rowUnderPointer);
    // The pointer moved to hoverRow (1-based, 0 over no row). While busy a
    // drag reorders nothing: a running job reads row i only when it gets
    // there, and a reorder would make it skip one file and do another twice.
    Move move(FileList& list, int hoverRow, ListEdge edge, bool busy);
    void release();

    bool held() const { return held_; }
    // The picked row, 1-based; 0 when none.
    int dragRow() const;

  private:
    bool held_ = false;
    QPersistentModelIndex dragRow_;
};

}  // namespace mirelune

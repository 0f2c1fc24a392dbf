// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/RowDrag.h"

#include "filelist/FileList.h"

namespace mirelune {

ListEdge ListEdgeAt(int y, int height, int margin) {
    if (y < margin) {
        return ListEdge::Top;
    }
    if (y >= height - margin) {
        return ListEdge::Bottom;
    }
    return ListEdge::None;
}

void RowDrag::press(const QPersistentModelIndex& rowUnderPointer) {
    held_ = true;
    dragRow_ = rowUnderPointer;
}

RowDrag::Move RowDrag::move(FileList& list, int hoverRow, ListEdge edge, bool busy) {
    Move result;
    const int dragged = dragRow();
    if (!held_ || busy || dragged == 0 || hoverRow < 1 || hoverRow > list.count() ||
        hoverRow == dragged) {
        return result;
    }
    // The persistent index moves with the row.
    list.move(dragged, hoverRow);
    result.moved = true;
    result.selectRow = hoverRow;
    if (edge == ListEdge::Top && hoverRow >= 2) {
        result.scrollToRow = hoverRow - 1;
    } else if (edge == ListEdge::Bottom && list.count() >= hoverRow + 1) {
        result.scrollToRow = hoverRow + 1;
    }
    return result;
}

void RowDrag::release() {
    held_ = false;
}

int RowDrag::dragRow() const {
    return dragRow_.isValid() ? dragRow_.row() + 1 : 0;
}

}  // namespace mirelune

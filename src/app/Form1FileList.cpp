#include <QItemSelectionModel>
#include <QTreeView>

#include "app/Appearance.h"
#include "app/ErrorGuard.h"
#include "app/ErrorLocations.h"
#include "app/Form1.h"
#include "filelist/AddByDialog.h"
#include "filelist/FileList.h"

namespace mirelune {

bool Form1::listLocked() const {
    return isBusy() || isReducing();
}

CandidateCallback Form1::candidateAdder() {
    return [this](const QString& path, ErrorGuard& guard, int firstStep) {
        // What is left of a walk once the window has closed reads no more files.
        if (isClosing()) {
            return;
        }
        AddCandidateFile(guard, CandidateStepsFrom(firstStep), fileListFiller(), path);
    };
}

void Form1::PushButton1_Click() {
    AddFilesByDialog(fileListFiller());
}

void Form1::PushButton4_Click() {
    ErrorGuard g(*window_, location::kPushButton4Click);
    if (g.test(100, [&] { return !listLocked(); })) {
        g.step(100, [&] { fileList_->clear(); });
    }
}

// The Delete key and a double-click on a row.
void Form1::RemoveSelectedEntry() {
    if (listLocked() || fileList_->count() == 0) {
        return;
    }
    const QModelIndexList selected = ListView1->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        return;
    }
    fileList_->remove(selected.first().row() + 1);
}

void Form1::ListView1_MouseDown(const QPoint& position) {
    const QModelIndex row = ListView1->indexAt(position);
    rowDrag_.press(row.isValid() ? QPersistentModelIndex(fileList_->index(row.row(), 0))
                                 : QPersistentModelIndex());
    if (row.isValid() && !listLocked()) {
        // Looked up at every press, so a pointer file put beside the program
        // is used without a restart.
        ListView1->viewport()->setCursor(TryLoadPointerFile(DragPointerPath(applicationFolder_))
                                             .value_or(QCursor(Qt::ClosedHandCursor)));
    }
}

void Form1::ListView1_MouseMove(const QPoint& position) {
    const QModelIndex hover = ListView1->indexAt(position);
    // Near an edge means within about a row of it.
    const int margin = ListView1->fontMetrics().height();
    const RowDrag::Move move = rowDrag_.move(
        *fileList_, hover.isValid() ? hover.row() + 1 : 0,
        ListEdgeAt(position.y(), ListView1->viewport()->height(), margin), listLocked());
    if (move.selectRow > 0) {
        ListView1->setCurrentIndex(fileList_->index(move.selectRow - 1, 0));
    }
    if (move.scrollToRow > 0) {
        ListView1->scrollTo(fileList_->index(move.scrollToRow - 1, 0));
    }
}

void Form1::ListView1_MouseUp() {
    rowDrag_.release();
    ListView1->viewport()->unsetCursor();
}

}  // namespace mirelune

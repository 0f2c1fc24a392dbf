// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QTimer>
#include <QTreeView>

#include "app/Appearance.h"
#include "app/FileListRows.h"
#include "app/Form1.h"
#include "filelist/AddByDialog.h"
#include "filelist/FileDrop.h"
#include "filelist/FileList.h"
#include "filelist/FolderScan.h"
#include "filelist/SampleFiles.h"
#include "shell/ErrorGuard.h"
#include "shell/ErrorLocations.h"

namespace mirelune {

bool Form1::listLocked() const {
    return isBusy() || isReducing();
}

CandidateCallback Form1::candidateAdder() {
    return [this](const QString& path, ErrorGuard& guard, int firstStep, RefusedFiles& refused) {
        AddCandidateFile(guard, CandidateStepsFrom(firstStep), fileListFiller(), path, refused);
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

// "Add All MP3 File(s) In Folder".
void Form1::PushButton3_Click() {
    FolderScanHost host{*window_, settings_, [this](bool busy) { setBusyPointer(busy); },
                        candidateAdder()};
    RunFolderScan(host);
}

// "Load Sample/Example Files". A row that is no longer valid stays listed
// while a job runs, so the job's remaining rows keep their places; the job
// then reports that row's failure itself.
void Form1::PushButton5_Click() {
    FileListRows rows(*fileList_, [this] { return isReducing(); });
    LoadSampleFilesAndRereadRows(rows, *window_, mp3Info(), applicationFolder_);
}

// Only local files and folders may be dropped; the pointer shows anything
// else as refused.
void Form1::ListView1_OLEDragOver(QDragMoveEvent& event) {
    if (event.mimeData() != nullptr && CarriesLocalFiles(*event.mimeData())) {
        event.acceptProposedAction();
    } else {
        event.ignore();
    }
}

void Form1::ListView1_OLEDragDrop(QDropEvent& event) {
    if (event.mimeData() == nullptr) {
        event.ignore();
        return;
    }
    RefusedFiles unnamable;
    const QStringList paths = DroppedLocalPaths(*event.mimeData(), unnamable);
    event.acceptProposedAction();
    // Handled once the drop has returned: the file manager is not kept waiting
    // on a long walk, and no box opens inside the drag-and-drop exchange.
    QTimer::singleShot(0, this, [this, paths, unnamable] {
        CatchAll(*window_, location::FormHandler(QStringLiteral("ListView1_OLEDragDrop")),
                 [&] { AddDroppedPaths(paths, *window_, candidateAdder(), unnamable); });
    });
}

}  // namespace mirelune

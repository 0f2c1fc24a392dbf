#include <QDropEvent>
#include <QMimeData>
#include <QTimer>

#include "app/ErrorGuard.h"
#include "app/ErrorLocations.h"
#include "app/Form1.h"
#include "filelist/FileDrop.h"

namespace mirelune {

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
    const QStringList paths = DroppedLocalPaths(*event.mimeData());
    event.acceptProposedAction();
    // Handled once the drop has returned: the file manager is not kept waiting
    // on a long walk, and no box opens inside the drag-and-drop exchange.
    QTimer::singleShot(0, this, [this, paths] {
        CatchAll(*window_, location::FormHandler(QStringLiteral("ListView1_OLEDragDrop")),
                 [&] { OfferDroppedPaths(paths, *window_, candidateAdder()); });
    });
}

}  // namespace mirelune

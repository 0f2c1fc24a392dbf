// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractItemModel>
#include <QTreeView>

#include "app/WindowTestSupport.h"

namespace mirelune::test {

// Mouse and key gestures on the window's list, with rows counted from 1 as
// the file list counts them.
class ListGestures {
  protected:
    void attach(QTreeView* view) {
        list = view;
        viewport = view->viewport();
    }

    QModelIndex indexOf(int row) const { return list->model()->index(row - 1, 0); }
    QPoint centreOf(int row) const { return list->visualRect(indexOf(row)).center(); }
    void select(int row) { list->setCurrentIndex(indexOf(row)); }

    void press(int row) {
        SendMouse(viewport, QEvent::MouseButtonPress, centreOf(row), Qt::LeftButton,
                  Qt::LeftButton);
    }
    void dragTo(int row) { dragTo(centreOf(row)); }
    void dragTo(const QPoint& position) {
        SendMouse(viewport, QEvent::MouseMove, position, Qt::NoButton, Qt::LeftButton);
    }
    void releaseAt(int row) {
        SendMouse(viewport, QEvent::MouseButtonRelease, centreOf(row), Qt::LeftButton,
                  Qt::NoButton);
    }
    void doubleClick(int row) {
        press(row);
        releaseAt(row);
        SendMouse(viewport, QEvent::MouseButtonDblClick, centreOf(row), Qt::LeftButton,
                  Qt::LeftButton);
        releaseAt(row);
    }

    QTreeView* list = nullptr;
    QWidget* viewport = nullptr;
};

}  // namespace mirelune::test

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>

namespace mirelune {

// Draws the path column with ElidePath: a long path loses its folders
// before its file name. The view's own elision cuts the whole text in one
// place, which hides the track number and title of a long name.
class PathItemDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

}  // namespace mirelune

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PathItemDelegate.h"

#include <QApplication>
#include <QStyle>

#include "shell/ElidedPath.h"

namespace mirelune {

void PathItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QWidget* widget = item.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    // The style draws the text inside this rectangle less a margin on each side.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const int room =
        style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget).width() - 2 * margin;
    const QFontMetrics& metrics = item.fontMetrics;
    item.text = ElidePath(item.text, room, [&metrics](const QString& text) {
        return metrics.horizontalAdvance(text);
    });
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
}

}  // namespace mirelune

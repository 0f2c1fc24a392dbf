// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PathItemDelegate.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QStyle>
#include <QtMath>

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
    // Glyphs sit at fractions of a pixel; whole pixels rounded down would let
    // the style find the text a little too wide and cut it a second time.
    const QFontMetricsF metrics(item.font);
    item.text = ElidePath(item.text, room, [&metrics](const QString& text) {
        return qCeil(metrics.horizontalAdvance(text));
    });
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
}

}  // namespace mirelune

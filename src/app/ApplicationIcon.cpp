#include "app/ApplicationIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

namespace mirelune {
namespace {

QPixmap DrawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;

    QLinearGradient background(0, 0, 0, s);
    background.setColorAt(0, QColor(0x3b, 0x6e, 0xc9));
    background.setColorAt(1, QColor(0x1f, 0x3f, 0x80));
    painter.setPen(Qt::NoPen);
    painter.setBrush(background);
    painter.drawRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);

    painter.setBrush(QColor(0xf4, 0xf7, 0xfc));
    const qreal barWidth = s * 0.16;
    const qreal gap = s * 0.08;
    const qreal left = (s - 3 * barWidth - 2 * gap) / 2;
    const qreal bottom = s * 0.80;
    const qreal heights[] = {0.60, 0.42, 0.24};
    for (int i = 0; i < 3; ++i) {
        const qreal h = s * heights[i];
        painter.drawRoundedRect(QRectF(left + i * (barWidth + gap), bottom - h, barWidth, h),
                                barWidth * 0.3, barWidth * 0.3);
    }
    return pixmap;
}

}  // namespace

QIcon ApplicationIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(DrawIcon(size));
    }
    return icon;
}

}  // namespace mirelune

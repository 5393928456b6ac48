#include "app/AppIcon.h"

#include <QPainter>
#include <QPixmap>

namespace {

QPixmap paintIcon(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 16.0;
    p.setPen(QPen(QColor(20, 50, 110), s));
    p.setBrush(QColor(250, 250, 245));
    p.drawRoundedRect(QRectF(0.5 * s, 1.5 * s, 15 * s, 13 * s), 1.5 * s, 1.5 * s);
    p.fillRect(QRectF(1 * s, 2 * s, 14 * s, 2.5 * s), QColor(40, 90, 170));
    p.setPen(QPen(QColor(20, 50, 110), 0.8 * s));
    p.drawLine(QPointF(8 * s, 4.5 * s), QPointF(8 * s, 14 * s));
    p.setPen(QPen(QColor(120, 120, 120), 0.8 * s));
    for (qreal y = 6.5; y < 13.5; y += 2) {
        p.drawLine(QPointF(2 * s, y * s), QPointF(6.5 * s, y * s));
        p.drawLine(QPointF(9.5 * s, y * s), QPointF(14 * s, y * s));
    }
    return pm;
}

} // namespace

QIcon AppIcon::Make()
{
    QIcon icon;
    for (int size : {16, 22, 32, 48, 64})
        icon.addPixmap(paintIcon(size));
    return icon;
}

#include "app/PaneGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <array>

namespace {

QPixmap triangle(bool up, QColor colour)
{
    QPixmap pm(12, 12);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    if (up) {
        path.moveTo(6, 2);
        path.lineTo(11, 10);
        path.lineTo(1, 10);
    } else {
        path.moveTo(1, 2);
        path.lineTo(11, 2);
        path.lineTo(6, 10);
    }
    path.closeSubpath();
    p.fillPath(path, colour);
    return pm;
}

QPixmap marker(int index)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case 1: {   // hidden: a half-closed eye
        p.setPen(QPen(QColor(110, 110, 110), 1.5));
        p.drawArc(QRectF(2, 4, 12, 9), 0, 180 * 16);
        p.drawLine(QPointF(2, 8.5), QPointF(14, 8.5));
        break;
    }
    case 2: {   // viewable: a small page with lines
        p.setPen(QColor(40, 90, 170));
        p.setBrush(QColor(225, 235, 250));
        p.drawRect(QRectF(3.5, 1.5, 9, 13));
        for (int y = 5; y <= 11; y += 3)
            p.drawLine(QPointF(5.5, y), QPointF(10.5, y));
        break;
    }
    case 3: {   // read-only: a padlock
        p.setPen(QPen(QColor(150, 100, 20), 1.5));
        p.drawArc(QRectF(5, 2, 6, 8), 0, 180 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 150, 40));
        p.drawRoundedRect(QRectF(3.5, 7, 9, 7), 1.5, 1.5);
        break;
    }
    default:
        break;
    }
    return pm;
}

} // namespace

const QPixmap& PaneGlyphs::SortGlyph(int index)
{
    static const std::array<QPixmap, 4> glyphs{
        triangle(true, QColor(60, 60, 60)), triangle(false, QColor(60, 60, 60)),
        triangle(true, QColor(30, 80, 170)), triangle(false, QColor(30, 80, 170))};
    return glyphs[size_t(index & 3)];
}

const QPixmap& PaneGlyphs::Marker(int index)
{
    static const std::array<QPixmap, 4> markers{marker(0), marker(1), marker(2), marker(3)};
    return markers[size_t(index & 3)];
}

#include "components/GradientBand.h"

#include <QLinearGradient>
#include <QPainter>

GradientBand::GradientBand(const QString& text, QWidget* parent)
    : QLabel(text, parent)
{
    setObjectName(QStringLiteral("Gradient"));
    setAccessibleName(text);
    setStyleSheet(QStringLiteral("color: white; font-weight: bold; padding: 8px;"));
}

void GradientBand::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    QLinearGradient g(rect().topLeft(), rect().topRight());
    g.setColorAt(0, QColor(0, 40, 120));
    g.setColorAt(1, QColor(120, 170, 230));
    p.fillRect(rect(), g);
    p.end();
    QLabel::paintEvent(event);
}

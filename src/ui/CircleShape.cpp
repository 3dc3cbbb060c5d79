#include "ui/CircleShape.h"

#include <QPainter>

CircleShape::CircleShape(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CircleShape::setFill(const QColor& color)
{
    if (m_fill == color)
        return;
    m_fill = color;
    update();
}

void CircleShape::setOutline(const QColor& color)
{
    if (m_outline == color)
        return;
    m_outline = color;
    update();
}

void CircleShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(m_outline, 1));
    painter.setBrush(m_fill);
    painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

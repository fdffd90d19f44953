#include "forms/Lamp.h"

#include <QPainter>

namespace forms {

Lamp::Lamp(QWidget* parent, int size, Rim rim) : QWidget(parent), m_rim(rim)
{
    setFixedSize(size, size);
}

void Lamp::setColor(const QColor& color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void Lamp::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (m_rim == Rim::BlackRing) {
        const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawEllipse(outer);
        p.setBrush(m_color);
        p.drawEllipse(outer.adjusted(2, 2, -2, -2));
        return;
    }
    p.setPen(QPen(Qt::darkGray, 1));
    p.setBrush(m_color);
    p.drawEllipse(rect().adjusted(1, 1, -1, -1));
}

}  // namespace forms

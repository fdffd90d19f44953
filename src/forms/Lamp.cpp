#include "forms/Lamp.h"

#include <QPainter>

namespace forms {

Lamp::Lamp(QWidget* parent) : QWidget(parent)
{
    setFixedSize(18, 18);
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
    p.setPen(QPen(Qt::darkGray, 1));
    p.setBrush(m_color);
    p.drawEllipse(rect().adjusted(1, 1, -1, -1));
}

}  // namespace forms

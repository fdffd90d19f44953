// Check-mark canvas: lines 7 units wide, 5 units from the edges.
#include "forms/CheckMark.h"

#include <QPainter>

namespace forms {

CheckMark::CheckMark(QWidget* parent) : QWidget(parent)
{
    setFixedSize(40, 40);
}

void CheckMark::setState(State state)
{
    if (state == m_state)
        return;
    m_state = state;
    update();
}

void CheckMark::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    if (m_state == State::Clear)
        return;
    p.setRenderHint(QPainter::Antialiasing);
    const double w = width(), h = height(), m = 5;
    if (m_state == State::Tick) {
        p.setPen(QPen(QColor(0, 192, 0), 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPointF pts[] = {{m, h * 0.55}, {w * 0.4, h - m}, {w - m, m}};
        p.drawPolyline(pts, 3);
    } else {
        p.setPen(QPen(QColor(255, 0, 0), 7, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(m, m), QPointF(w - m, h - m));
        p.drawLine(QPointF(w - m, m), QPointF(m, h - m));
    }
}

}  // namespace forms

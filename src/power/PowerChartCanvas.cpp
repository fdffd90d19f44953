// Painting and cursor input of the power chart canvas.
#include "power/PowerChartCanvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace power {

PowerChartCanvas::PowerChartCanvas(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::ClickFocus);
}

void PowerChartCanvas::setChart(const ChartInput& input, Mode mode, int limiterSpeed)
{
    m_input = input;
    m_mode = mode;
    m_limiterSpeed = limiterSpeed;
    update();
}

QRectF PowerChartCanvas::plotArea() const
{
    return windowPlotArea(width(), height());
}

void PowerChartCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), chartBackground());
    QFont font = painter.font();
    font.setPixelSize(10);
    painter.setFont(font);
    if (m_mode == Mode::Speed) {
        static const PowerSamples none{};
        drawSpeedChart(painter, speedPlotArea(width(), height()),
                       m_input.samples ? *m_input.samples : none, m_limiterSpeed);
    } else {
        drawPowerChart(painter, plotArea(), m_input);
    }
}

void PowerChartCanvas::wheelEvent(QWheelEvent* event)
{
    // Some platforms turn a wheel with a modifier held into a horizontal movement.
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    if (delta != 0) {
        const Qt::KeyboardModifiers m = event->modifiers();
        emit wheelTurned(delta > 0 ? 1 : -1, m & Qt::ShiftModifier, m & Qt::ControlModifier);
    }
    event->accept();
}

void PowerChartCanvas::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked(event->position().x());
}

}  // namespace power

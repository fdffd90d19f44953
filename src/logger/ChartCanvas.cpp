#include "logger/ChartCanvas.h"

#include "logger/ChartGeometry.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>
#include <cmath>

namespace logger {

ChartCanvas::ChartCanvas(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartCanvas::setView(const View& view)
{
    m_view = view;
    update();
}

void ChartCanvas::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const View& v = m_view;
    const QColor band = palette().color(QPalette::Window);
    int top = 0;
    for (int h : v.heights) {
        p.fillRect(0, top + h + 1, width(), 3, band);
        top += h + stripGap;
    }
    const qint64 rows = std::min(v.rows, v.table ? v.table->rows() - 1 : 0);
    if (!v.table || rows <= 1 || width() < 2)
        return;

    const ViewSpan span = visibleSpan(rows, v.zoom, v.cursor);
    const double step = chartStep(width(), span.span);
    // 1.2 × the largest injection time (at least 100 µs), from the pyramid when it covers the
    // rows, as a scan of every row on each repaint would cost milliseconds at millions of rows.
    const double injectionMax =
        v.pyramid && v.pyramid->rowsCovered() >= rows
            ? 1.2 * std::max(100.0f, v.pyramid->range(*v.table, 14, 1, rows).max)
            : injectionScale(*v.table, rows);
    const bool rowByRow = step >= 1.0 || !v.pyramid;
    QPainterPath blue;
    QPainterPath orange;
    const float* speed = v.table->channel(1);
    auto available = [&](double rpm) {
        return availableInjectionUs(rpm, v.deadTimeUs, v.quickStartSpeed);
    };
    top = 0;
    for (int c = 1; c <= LogTable::channels; ++c) {
        const int h = v.heights[std::size_t(c - 1)];
        const double b = top + h;
        top += h + stripGap;
        const float* values = v.table->channel(c);
        auto y = [&](double value) { return b - stripOffset(c, value, h, injectionMax); };
        if (rowByRow) {
            // The lines from row to row, exactly as the rows lie.
            if (span.span < 1)
                continue;
            blue.moveTo(0, y(values[span.first]));
            for (qint64 i = span.first + 1; i <= span.last; ++i)
                blue.lineTo(step * double(i - span.first), y(values[i]));
            if (c == 14) {
                orange.moveTo(0, y(available(speed[span.first])));
                for (qint64 i = span.first + 1; i <= span.last; ++i)
                    orange.lineTo(step * double(i - span.first), y(available(speed[i])));
            }
            continue;
        }
        // Many rows per pixel column: the line from the last row of one column to the first of
        // the next, and the column's full range, so every peak shows.
        decimate(*v.table, *v.pyramid, c, span.first, span.last, width(), m_envelope);
        for (int x = 0; x < width(); ++x) {
            const ColumnEnvelope& e = m_envelope[std::size_t(x)];
            if (x == 0)
                blue.moveTo(x, y(e.first));
            else
                blue.lineTo(x, y(e.first));
            blue.moveTo(x, y(e.min));
            blue.lineTo(x, y(e.max));
            blue.moveTo(x, y(e.last));
        }
        if (c == 14) {
            // The available time falls as the speed rises: its range follows the speed's.
            std::vector<ColumnEnvelope> rpm;
            decimate(*v.table, *v.pyramid, 1, span.first, span.last, width(), rpm);
            for (int x = 0; x < width(); ++x) {
                const ColumnEnvelope& e = rpm[std::size_t(x)];
                const double hi = y(available(e.min > 0 ? e.min : 0));
                const double lo = y(available(e.max));
                if (x == 0)
                    orange.moveTo(x, y(available(e.first)));
                else
                    orange.lineTo(x, y(available(e.first)));
                orange.moveTo(x, hi);
                orange.lineTo(x, lo);
                orange.moveTo(x, y(available(e.last)));
            }
        }
    }
    p.setPen(QPen(QColor(0, 0, 255), 1));
    p.drawPath(blue);
    p.setPen(QPen(QColor(255, 153, 0), 1));
    p.drawPath(orange);
    const double cursorX = step * double(v.cursor - span.first);
    p.setPen(QPen(QColor(255, 0, 0), 1));
    p.drawLine(QPointF(cursorX, 0), QPointF(cursorX, height()));
}

void ChartCanvas::wheelEvent(QWheelEvent* event)
{
    const int delta =
        event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
    if (delta != 0 && onWheel)
        onWheel(delta > 0, event->modifiers() & Qt::ControlModifier,
                event->modifiers() & Qt::ShiftModifier);
    event->accept();
}

void ChartCanvas::mousePressEvent(QMouseEvent* event)
{
    if (onClick && event->button() == Qt::LeftButton)
        onClick(event->position().x());
}

}  // namespace logger

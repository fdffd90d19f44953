// Painting of a map or curve drawing on its canvas.
#include "maps/SceneView.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace maps {
namespace {
QColor colour(const Rgb& c)
{
    return QColor(c.r, c.g, c.b);
}
}  // namespace

SceneView::SceneView(int width, int height, QWidget* parent) : QWidget(parent), m_font(viewFont())
{
    m_scene.width = width;
    m_scene.height = height;
    setFixedSize(width, height);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QFont SceneView::viewFont()
{
    // The views' font is "curier" at size 9; where no such family exists the typewriter hint
    // picks the system's fixed-width font, which keeps the five-character value labels aligned.
    QFont font(QStringLiteral("curier"), 9);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

QFont SceneView::fittedFont(const QFont& font, const Text& text)
{
    if (text.maxWidth <= 0 || QFontMetricsF(font).horizontalAdvance(text.text) <= text.maxWidth)
        return font;
    QFont narrow = font;
    for (int stretch : {QFont::SemiCondensed, QFont::Condensed, QFont::ExtraCondensed}) {
        narrow.setStretch(stretch);
        if (QFontMetricsF(narrow).horizontalAdvance(text.text) <= text.maxWidth)
            return narrow;
    }
    // Still too wide: smaller sizes of the narrowest form, down to a legible minimum.
    for (int pixels = QFontInfo(narrow).pixelSize() - 1; pixels >= 7; --pixels) {
        narrow.setPixelSize(pixels);
        if (QFontMetricsF(narrow).horizontalAdvance(text.text) <= text.maxWidth)
            break;
    }
    return narrow;
}

QPointF SceneView::textOrigin(const QFont& font, const Text& text)
{
    if (!text.centred)
        return text.at;
    const double width = QFontMetricsF(fittedFont(font, text)).horizontalAdvance(text.text);
    return text.at - QPointF(width / 2, 0);
}

QRectF SceneView::textBox(const QFont& font, const Text& text)
{
    // The inked pixels, so the blanks that pad value labels to a column do not count.
    return QFontMetricsF(fittedFont(font, text))
        .tightBoundingRect(text.text)
        .translated(textOrigin(font, text));
}

void SceneView::setScene(Scene scene)
{
    m_scene = std::move(scene);
    update();
}

void SceneView::paintScene(QPainter& painter, const Scene& scene, const QFont& font)
{
    paintFrame(painter, scene, font);
    paintContent(painter, scene);
}

void SceneView::paintFrame(QPainter& painter, const Scene& scene, const QFont& font)
{
    painter.fillRect(QRect(0, 0, scene.width, scene.height), colour(scene.background));
    QPen pen;
    pen.setWidth(1);
    for (const Line& l : scene.lines) {
        if (l.part != Part::Frame)
            continue;
        pen.setColor(colour(l.colour));
        painter.setPen(pen);
        painter.drawLine(l.a, l.b);
    }
    for (const Text& t : scene.texts) {
        pen.setColor(colour(t.colour));
        painter.setPen(pen);
        painter.setFont(fittedFont(font, t));
        painter.drawText(textOrigin(font, t), t.text);
    }
}

void SceneView::paintContent(QPainter& painter, const Scene& scene)
{
    QPen pen;
    pen.setWidth(1);
    for (const Line& l : scene.lines) {
        if (l.part == Part::Frame)
            continue;
        pen.setColor(colour(l.colour));
        painter.setPen(pen);
        painter.drawLine(l.a, l.b);
    }
    for (const Circle& c : scene.circles) {
        pen.setColor(colour(c.colour));
        painter.setPen(pen);
        painter.setBrush(c.filled ? QBrush(colour(c.colour)) : QBrush(Qt::NoBrush));
        painter.drawEllipse(c.centre, c.radius, c.radius);
    }
    painter.setBrush(Qt::NoBrush);
}

void SceneView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_dragCell = cellNear(m_scene, event->position());
    if (m_dragCell)
        emit cellPressed(*m_dragCell);
}

void SceneView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton) || !m_dragCell)
        return;
    const std::optional<CellAt> cell = cellNear(m_scene, event->position());
    if (cell && !(*cell == *m_dragCell)) {
        m_dragCell = cell;
        emit cellDragged(*cell);
    }
}

void SceneView::contextMenuEvent(QContextMenuEvent* event)
{
    emit contextMenuWanted(event->globalPos());
}

void SceneView::paintEvent(QPaintEvent*)
{
    if (m_frameKey.isEmpty() || m_frameKey != m_scene.frameKey ||
        m_frame.devicePixelRatio() != devicePixelRatioF()) {
        m_frame = QPixmap(QSize(m_scene.width, m_scene.height) * devicePixelRatioF());
        m_frame.setDevicePixelRatio(devicePixelRatioF());
        QPainter framePainter(&m_frame);
        paintFrame(framePainter, m_scene, m_font);
        m_frameKey = m_scene.frameKey;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_frame);
    paintContent(painter, m_scene);
}

void SceneView::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta != 0)
        emit wheelTurned(delta > 0);
    event->accept();
}

}  // namespace maps

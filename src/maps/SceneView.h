// A canvas of the main window that paints one map or curve drawing (a Scene) and reports the
// mouse over it: the wheel, a press and drag of the left button on a cell, the context menu.
#pragma once

#include "maps/Scene.h"

#include <QFont>
#include <QPixmap>
#include <QWidget>

class QPainter;

namespace maps {

class SceneView final : public QWidget {
    Q_OBJECT
public:
    SceneView(int width, int height, QWidget* parent = nullptr);

    // Replaces the drawing and schedules a repaint.
    void setScene(Scene scene);
    const Scene& scene() const { return m_scene; }
    QSize sizeHint() const override { return {m_scene.width, m_scene.height}; }

    // Paints a whole scene with the views' font.
    static void paintScene(QPainter& painter, const Scene& scene, const QFont& font);
    // Paints only the background, the Frame lines and the texts, or only the rest.
    static void paintFrame(QPainter& painter, const Scene& scene, const QFont& font);
    static void paintContent(QPainter& painter, const Scene& scene);
    static QFont viewFont();
    // The font a text is drawn in: the view's font, narrowed (condensed, then smaller) until the
    // text fits its maxWidth; where its base line starts; and the box its ink then covers.
    static QFont fittedFont(const QFont& font, const Text& text);
    static QPointF textOrigin(const QFont& font, const Text& text);
    static QRectF textBox(const QFont& font, const Text& text);

signals:
    void wheelTurned(bool up);
    // The left button went down on a cell, or moved onto another cell while held.
    void cellPressed(maps::CellAt cell);
    void cellDragged(maps::CellAt cell);
    void contextMenuWanted(QPoint globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    Scene m_scene;
    QFont m_font;
    // The axes and labels rarely change; they are painted once per frame key.
    QPixmap m_frame;
    QString m_frameKey;
    std::optional<CellAt> m_dragCell;
};

}  // namespace maps

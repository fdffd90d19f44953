// A canvas whose picture is drawn by its owner: the window class hands in a paint function and
// asks for an update when its data changed. Mouse presses arrive in widget coordinates.
#pragma once

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <functional>

namespace forms {

class PaintBox final : public QWidget {
public:
    using Painter = std::function<void(QPainter&)>;
    using Clicked = std::function<void(QMouseEvent&)>;

    explicit PaintBox(QWidget* parent = nullptr) : QWidget(parent) {}
    void setPainter(Painter painter) { m_painter = std::move(painter); }
    void setClicked(Clicked clicked) { m_clicked = std::move(clicked); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        if (m_painter)
            m_painter(p);
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (m_clicked)
            m_clicked(*event);
    }

private:
    Painter m_painter;
    Clicked m_clicked;
};

}  // namespace forms

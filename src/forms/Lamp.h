// A round status lamp drawn in one colour (link lamp, logger lamp, state lamps).
#pragma once

#include <QColor>
#include <QWidget>

namespace forms {

class Lamp final : public QWidget {
    Q_OBJECT
public:
    // Thin grey outline, 18 pixels (link and state lamps); or a black ring two pixels wide
    // around the colour (the logger's recording lamp).
    enum class Rim { Outline, BlackRing };
    explicit Lamp(QWidget* parent = nullptr, int size = 18, Rim rim = Rim::Outline);
    void setColor(const QColor& color);
    QColor color() const { return m_color; }
    QSize sizeHint() const override { return size(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color{127, 127, 127};
    Rim m_rim;
};

}  // namespace forms

// A round status lamp drawn in one colour (link lamp, logger lamp, state lamps).
#pragma once

#include <QColor>
#include <QWidget>

namespace forms {

class Lamp final : public QWidget {
    Q_OBJECT
public:
    explicit Lamp(QWidget* parent = nullptr);
    void setColor(const QColor& color);
    QColor color() const { return m_color; }
    QSize sizeHint() const override { return {18, 18}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color{127, 127, 127};
};

}  // namespace forms

// The power window's chart canvas: draws the power chart or the speed-over-time chart from
// what the window hands it, and reports wheel turns and left clicks for the cursor.
#pragma once

#include "power/ChartPainter.h"

#include <QWidget>

namespace power {

class PowerChartCanvas final : public QWidget {
    Q_OBJECT
public:
    enum class Mode { Speed, Measurement };  // "Drehzahl", "Messung"

    explicit PowerChartCanvas(QWidget* parent = nullptr);

    // The data must outlive the canvas's next paint; the window owns it.
    void setChart(const ChartInput& input, Mode mode, int limiterSpeed);
    QRectF plotArea() const;

signals:
    // direction +1 or -1.
    void wheelTurned(int direction, bool shift, bool control);
    void clicked(double x);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    ChartInput m_input;
    Mode m_mode = Mode::Measurement;
    int m_limiterSpeed = 0;
};

}  // namespace power

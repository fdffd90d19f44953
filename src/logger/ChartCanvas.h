// The logger chart: one strip per channel over a shared time axis, drawn from the LogTable
// (rows one by one while a pixel column holds at most one row, else from the pyramid's
// envelope per pixel column), the orange available-time line on channel 14 and the red cursor.
// The mouse wheel and clicks are handed to the window.
#pragma once

#include "logger/ChartPyramid.h"
#include "logger/LogTable.h"

#include <QWidget>
#include <array>
#include <functional>

namespace logger {

class ChartCanvas final : public QWidget {
public:
    struct View {
        const LogTable* table = nullptr;
        const ChartPyramid* pyramid = nullptr;
        qint64 rows = 0;  // rows available
        qint64 cursor = 1;
        int zoom = 1;
        std::array<int, 14> heights{};  // current strip heights
        double deadTimeUs = 0;          // injector 1
        int quickStartSpeed = 10;
    };

    explicit ChartCanvas(QWidget* parent = nullptr);
    void setView(const View& view);
    const View& view() const { return m_view; }

    // wheel: forward or back, Control and Shift held; click: x in the chart.
    std::function<void(bool forward, bool control, bool shift)> onWheel;
    std::function<void(double x)> onClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    View m_view;
    std::vector<ColumnEnvelope> m_envelope;
};

}  // namespace logger

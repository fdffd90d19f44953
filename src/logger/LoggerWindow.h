// The logger window: shows what the recorder reports, hands the buttons to it, lays out the
// channel rows and the chart, and keeps the zoom, cursor and position bar.
#pragma once

#include "forms/logger.h"
#include "logger/ChartCanvas.h"
#include "logger/LogRecorder.h"

#include <QObject>
#include <functional>

namespace forms {
class Window;
}

namespace logger {

class LoggerWindow final : public QObject, public RecorderView {
    Q_OBJECT
public:
    struct Hooks {
        std::function<bool()> identified;
        std::function<double()> injectorDeadTimeUs;  // injector 1
        std::function<int()> quickStartSpeed;
        // The maximum record count changed by a loaded file: the system window follows.
        std::function<void(qint64)> capacityChanged;
    };

    LoggerWindow(forms::Window& window, LogRecorder& recorder, Hooks hooks);
    ~LoggerWindow() override;

    forms::Loggerdialog& form() { return m_form; }
    ChartCanvas& chart() { return *m_chart; }
    int zoom() const { return m_zoom; }
    void setZoom(int zoom);

    // On every timer event of the program.
    void drawLamp();
    // Chart, cursor labels, value labels and position bar from the recorder's state.
    void refreshChart();
    // Layout of the channel rows and the chart for the window's width.
    void layoutChart();

    // RecorderView
    void showFile(const QString& shownPath, const QString& name) override;
    void showLogInfo(const QString& date, const QString& time, const QString& hw,
                     const QString& sw) override;
    void showComment(const QString& comment) override;
    void showDataPoint(const QString& text) override;
    void showProgress(qint64 maximum, qint64 value) override;
    void redraw() override;
    void rowRecorded() override;
    void capacityChanged(qint64 capacity) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void moveCursor(qint64 row);
    void takeComment();

    forms::Window& m_window;
    forms::Loggerdialog m_form;
    ChartCanvas* m_chart = nullptr;
    LogRecorder& m_recorder;
    Hooks m_hooks;
    int m_zoom = 1;
    bool m_settingPosition = false;
};

}  // namespace logger

// The power window: parameters, run control, comparison files, the chart with its cursor and
// read-outs, and the printout. Thin: the capture, computation, files and drawing live in the
// power subsystem's logic; this class moves values between them and the form.
#pragma once

#include "app/core/Dialogs.h"
#include "app/core/MessageLog.h"
#include "app/core/SystemInfo.h"
#include "forms/leistungsvergleich.h"
#include "power/PowerCapture.h"
#include "power/PowerCompute.h"
#include "power/PowerFiles.h"
#include "power/PowerParameters.h"
#include "power/PowerPrintout.h"

#include <QDateTime>
#include <QObject>
#include <functional>

namespace forms {
class FieldBinding;
class Window;
}  // namespace forms

namespace power {

class PowerChartCanvas;

class PowerWindow final : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<qint64()> nowMs;       // the program's millisecond clock
        std::function<int()> dataInterval;   // "Auflösung Datenintervall:"
        std::function<int()> minSpeed;       // "Mindestdrehzahl [Umin]:"
        std::function<QString()> printText;  // "Individualtext auf Ausdruck:"
        std::function<int()> limiterSpeed;   // rpm, top of the speed chart
        std::function<QString()> hardware;   // the identified KVT's versions
        std::function<QString()> software;
        std::function<QDateTime()> clock;  // date and time for files and printouts
        std::function<app::SystemInfo()> systemInfo;
    };

    PowerWindow(forms::Window& window, app::Dialogs& dialogs, app::MessageLog& log, Hooks hooks,
                QObject* parent = nullptr);
    ~PowerWindow() override;

    void open();

    // Run control and the polling cycle's feeds.
    void start();
    void stop();
    bool measuring() const { return m_capture.measuring(); }
    void liveSample(int rpmForMaps, quint32 timeStamp);
    void timerTick();

    // Reads the ten parameter fields, then recomputes.
    void takeOver();
    // Speed chart, Compute, power chart.
    void recompute();
    void redrawPowerChart();

    void save();
    void load();
    void loadComparison(int slot);  // 2 or 3
    void print();

    // The chart cursor.
    int cursor() const { return m_cursor; }
    void setCursor(int rpm);
    void wheel(int direction, bool shift, bool control);
    void click(double x);

    const PowerCurves& curves() const { return m_curves; }
    const Evaluation& evaluation() const { return m_evaluation; }
    const PowerCapture& capture() const { return m_capture; }
    const PowerDocument& document() const { return m_document; }
    const ChartScale& scale() const { return m_scale; }
    PrintContent printContent() const;
    forms::Leistungsvergleich& form() { return m_form; }
    PowerChartCanvas& canvas() { return *m_canvas; }

private:
    PowerOptions optionsFromForm() const;
    ChartInput chartInput() const;
    void showOptions(const PowerOptions& options);
    void showParameters();
    void showMeasurementTexts();
    void showComparison(int slot);
    void correctionClicked(QCheckBox* clicked);
    void clearRemaining();
    QDateTime now() const;

    forms::Window& m_window;
    app::Dialogs& m_dialogs;
    app::MessageLog& m_log;
    Hooks m_hooks;
    forms::Leistungsvergleich m_form;
    PowerChartCanvas* m_canvas = nullptr;
    forms::FieldBinding* m_fields = nullptr;
    ParameterTexts m_typed;  // the texts of the last take-over, in field order
    PowerFiles m_files;
    PowerCapture m_capture;
    PowerDocument m_document;
    Evaluation m_evaluation;
    PowerCurves m_curves{};
    std::array<ComparisonLabels, 2> m_comparisons;
    ChartScale m_scale;
    int m_cursor = 0;
};

}  // namespace power

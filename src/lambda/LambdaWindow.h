// The lambda logger window: shows the LambdaTable as the coloured grid, and hands its buttons
// to the LambdaLogger. Plain clicks only; the KVT buttons only while a KVT is identified.
#pragma once

#include "app/core/ProgramSettings.h"
#include "forms/lambdalogger.h"
#include "lambda/LambdaLogger.h"
#include "lambda/LambdaPaint.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPagedPaintDevice>
#include <functional>
#include <memory>

namespace forms {
class Window;
}

namespace lambda {

class LambdaWindow final : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<bool()> identified;
        // The injection map is the map selected for editing: the frame is drawn red.
        std::function<bool()> injectionMapEdited;
        // The current operating point's record.
        std::function<devlink::LiveRecord()> liveRecord;
        // "KVT loggt Lambda im EEPROM" sets lambdaLogging in the SetupRecord; and reads it.
        std::function<void(bool)> setLambdaLogging;
        std::function<bool()> lambdaLogging;
        // The print dialog for a job of that name (app::Dialogs::print): draw paints the page on
        // the chosen printer or PDF file; false when the user cancelled.
        std::function<bool(const QString&, const std::function<void(QPagedPaintDevice&)>&)> print;
    };

    LambdaWindow(forms::Window& window, LambdaLogger& logger, const app::ProgramSettings& settings,
                 app::MessageLog& log, Hooks hooks, QObject* parent = nullptr);
    ~LambdaWindow() override;

    // Legend and threshold labels, after the settings are read or changed.
    void drawAxes();
    // Every tick of the main window timer: the grid while shown, repainted at most every
    // kRepaintMs so that a short COM-Timer keeps its poll rate.
    void tick();
    // Below the default COM-Timer of 100 ms, so that at that period every tick repaints.
    static constexpr int kRepaintMs = 80;
    // Header labels and the grid after a load.
    void showDocument();
    // "Drucken".
    void print();

    bool shown() const;
    forms::Lambdalogger& form() { return m_form; }
    GridView gridView() const;

private:
    void connectButtons();
    Thresholds thresholds() const;

    forms::Window& m_window;
    forms::Lambdalogger m_form;
    LambdaLogger& m_logger;
    const app::ProgramSettings& m_settings;
    app::MessageLog& m_log;
    Hooks m_hooks;
    std::pair<int, int> m_point{1, 1};
    QElapsedTimer m_sinceRepaint;
};

}  // namespace lambda

// The big display window: draws the live values on its scaled virtual surface on every tick
// while shown, keeps the 4 : 3 shape, and resets the maximum and the sensor error count on a
// click on their numbers. Also the emergency notice that follows the KVT's emergency byte.
#pragma once

#include "display/BigDisplayPaint.h"
#include "forms/grossbild.h"
#include "forms/notprogramm.h"

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <functional>
#include <memory>

namespace forms {
class Window;
}

namespace display {

class BigDisplayWindow final : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<devlink::LiveRecord()> liveRecord;
        std::function<int()> sensorErrors;
        std::function<void()> resetSensorErrors;
    };

    BigDisplayWindow(forms::Window& window, const app::ProgramSettings& settings,
                     const setup::SetupRecord& setup, Hooks hooks, QObject* parent = nullptr);
    ~BigDisplayWindow() override;

    // Every tick of the main window timer (after the poll): the values while shown. The
    // maximum follows every tick; the picture is repainted at most every kRepaintMs, so that a
    // short COM-Timer keeps polling at its rate while the display still moves smoothly.
    void tick();
    // Below the default COM-Timer of 100 ms, so that at that period every tick repaints.
    static constexpr int kRepaintMs = 80;
    // After the setup or the settings changed: the static picture.
    void redrawBackground();
    // The click handling in virtual units, for the canvas and for tests.
    void clickAt(QPointF virtualPoint);

    bool shown() const;
    int maximum() const { return m_state.maximum; }
    // Paints the current picture onto p at the given pixel size (the window and screenshots).
    void paint(QPainter& p, QSize pixels) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    forms::Window& m_window;
    forms::Grossbild m_form;
    const app::ProgramSettings& m_settings;
    const setup::SetupRecord& m_setup;
    Hooks m_hooks;
    BigDisplayState m_state;
    bool m_fitting = false;
    // The static picture at the canvas's pixel size; rebuilt after a resize or redrawBackground.
    mutable QImage m_background;
    QElapsedTimer m_sinceRepaint;
};

// The small always-on-top window "!!!   Notprogramm ist aktiv   !!!".
class EmergencyNotice final : public QObject {
    Q_OBJECT
public:
    explicit EmergencyNotice(QObject* parent = nullptr);
    ~EmergencyNotice() override;

    // Every tick: follows the KVT's emergency byte while identified; after the link is lost the
    // notice stays and offers its close button.
    void tick(bool identified, int emergencyByte);

    QWidget& window() { return *m_window; }
    forms::Notprogramm& form() { return m_form; }

private:
    std::unique_ptr<QWidget> m_window;
    forms::Notprogramm m_form;
};

}  // namespace display

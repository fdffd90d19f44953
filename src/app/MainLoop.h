// The event loop's timing: timer 1 (the "COM-Timer"), timer 10 (the logger), the per-tick
// sequence of the link, logger, power measurement, firmware update and displays, and the quit
// question.
//
// One event at a time: a tick holds the Dialogs' EventGate, as does every dialog while it
// waits for the user, and no tick runs while the gate is held (a tick that falls due then is
// dropped). Timer 1 is disarmed when an event starts and armed with its full period once the
// event has ended, so the period always runs from the end of the last event: while events come
// faster than the period, or while a dialog is open, the line stays quiet. A tick of timer 10
// does not start the period anew, as a logger period shorter than the COM period would then
// stop polling for good: timer 1 keeps its time, but after that tick the line rests at least as
// long as the tick took, up to a full period (a tick that waited for the KVT is not followed by
// another at once).
#pragma once

#include "app/Dialogs.h"

#include <QColor>
#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

namespace app {

enum class Tick { ComTimer = 1, LoggerTimer = 10 };

enum class QuitRequest { None = 0, Asked = 1, Confirmed = 2 };

// The colour of the main window's link lamp.
QColor linkLampColor(bool comTicked, bool firmwareBusy, bool identified);

// What a tick does, by subsystem. Unset hooks are skipped.
struct TickHooks {
    std::function<void()> connectStep;
    std::function<bool()> comTicked;
    std::function<bool()> identified;
    std::function<bool()> firmwareBusy;
    std::function<void(const QColor&)> drawLinkLamp;
    std::function<void()> clearTestCheck;
    std::function<void()> drawLoggerLamp;
    std::function<void()> loggerTick;
    std::function<bool()> powerRunning;
    std::function<void()> powerProgress;
    std::function<void()> pollCycle;
    std::function<void()> firmwareStep;
    std::function<void()> refreshDisplays;
    // After every event: the map views whose live point or cursor follows.
    std::function<void()> redrawFollowingViews;
};

class MainLoop final : public QObject {
    Q_OBJECT
public:
    explicit MainLoop(Dialogs& dialogs, QObject* parent = nullptr);
    ~MainLoop() override;

    TickHooks& hooks() { return m_hooks; }

    // Arms both timers and starts watching the application's input events.
    void start(int comPeriodMs, int loggerPeriodMs);
    void stop();
    // Taken at the next arming.
    void setComPeriod(int ms);
    void setLoggerPeriod(int ms);
    int comPeriod() const { return m_comPeriod; }
    bool comTimerActive() const { return m_comTimer.isActive(); }

    // Closing the main window, F10 and the Quit command ask; the question follows at a tick.
    void requestQuit();
    QuitRequest quitRequest() const { return m_quit; }

    // One timer event; public so tests can drive the sequence. Does nothing while another event
    // (a dialog, a tick) is in progress.
    void tick(Tick which);

signals:
    // Ja to "Beenden?": the loop ends.
    void quitConfirmed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void askQuit();
    void afterEvent();
    // Arms timer 1 once the event in progress has ended (a queued call runs only when control
    // is back in an event loop); while the gate is held, its release does it.
    void armAfterEvent();
    void armNow();

    Dialogs& m_dialogs;
    EventGate& m_gate;
    TickHooks m_hooks;
    QTimer m_comTimer;
    QTimer m_loggerTimer;
    int m_comPeriod = 100;
    // Timer 1's schedule across a tick of timer 10: when it was due and how long the tick took.
    struct KeptSchedule {
        QDeadlineTimer due;
        qint64 tickMs = 0;
    };
    std::optional<KeptSchedule> m_kept;
    bool m_running = false;
    bool m_armQueued = false;
    QuitRequest m_quit = QuitRequest::None;
    bool m_redrawPending = false;
};

}  // namespace app

// The event loop's timing: timer 1 (the "COM-Timer"), timer 10 (the logger), the per-tick
// sequence of the link, logger, power measurement, firmware update and displays, and the quit
// question.
//
// One event at a time: a tick holds the Dialogs' EventGate, as does every dialog while it
// waits for the user, and no tick runs while the gate is held. Both timers are single-shot and
// disarmed while an event is in progress; once it has ended they are armed again:
//   - timer 1 with its full period after a tick of timer 1 and after every user event, so the
//     period always runs from the end of the last event (while events come faster than the
//     period, or while a dialog is open, the line stays quiet);
//   - timer 10 at its own cadence, and a tick of timer 10 leaves timer 1's time as it was (a
//     logger period shorter than the COM period would otherwise stop polling for good);
//   - after a tick that kept the line busy (a reply wait, the "G" pause) no tick of either timer
//     comes before the line has rested as long, up to one COM period: with a silent KVT "I" is
//     sent once per period + 200 ms wait, never twice in a row.
#pragma once

#include "app/core/Dialogs.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

namespace app {

enum class Tick { ComTimer = 1, LoggerTimer = 10 };

enum class QuitRequest { None = 0, Asked = 1, Confirmed = 2 };

// What a tick does, by subsystem. Unset hooks are skipped.
struct TickHooks {
    std::function<void()> connectStep;
    std::function<bool()> comTicked;
    std::function<bool()> identified;
    std::function<bool()> firmwareBusy;
    // The link lamp from "COM", a running firmware update and the identification.
    std::function<void(bool comTicked, bool firmwareBusy, bool identified)> drawLinkLamp;
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
    int m_loggerPeriod = 500;
    QDeadlineTimer m_loggerDue;
    // Timer 1's time across a tick of timer 10.
    std::optional<QDeadlineTimer> m_keptComDue;
    // The end of the rest after the last tick.
    QDeadlineTimer m_restUntil;
    bool m_running = false;
    bool m_armQueued = false;
    QuitRequest m_quit = QuitRequest::None;
    bool m_redrawPending = false;
};

}  // namespace app

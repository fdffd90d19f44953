// The event loop's timing: timer 1 (the "COM-Timer", re-armed after every user event so that
// polling pauses while the user types or moves the mouse), timer 10 (the logger), the per-tick
// sequence of the link, logger, power measurement, firmware update and displays, and the quit
// question.
#pragma once

#include "app/Dialogs.h"

#include <QObject>
#include <QTimer>
#include <functional>

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

    TickHooks& hooks() { return m_hooks; }

    // Arms both timers and starts watching the application's input events.
    void start(int comPeriodMs, int loggerPeriodMs);
    void stop();
    void setComPeriod(int ms);
    void setLoggerPeriod(int ms);
    int comPeriod() const { return m_comTimer.interval(); }
    bool comTimerActive() const { return m_comTimer.isActive(); }
    int comTimerRemaining() const { return m_comTimer.remainingTime(); }

    // Closing the main window, F10 and the Quit command ask; the question follows at a tick.
    void requestQuit();
    QuitRequest quitRequest() const { return m_quit; }

    // One timer event; public so tests can drive the sequence.
    void tick(Tick which);

signals:
    // Ja to "Beenden?": the loop ends.
    void quitConfirmed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void askQuit();
    void afterEvent();

    Dialogs& m_dialogs;
    TickHooks m_hooks;
    QTimer m_comTimer;
    QTimer m_loggerTimer;
    QuitRequest m_quit = QuitRequest::None;
    bool m_redrawPending = false;
};

}  // namespace app

#include "app/MainLoop.h"

#include <QCoreApplication>
#include <QEvent>

namespace app {

namespace {
template <typename R>
R call(const std::function<R()>& f, R fallback)
{
    return f ? f() : fallback;
}
void call(const std::function<void()>& f)
{
    if (f)
        f();
}

bool isUserEvent(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Shortcut: return true;
    default: return false;
    }
}
}  // namespace

MainLoop::MainLoop(Dialogs& dialogs, QObject* parent) : QObject(parent), m_dialogs(dialogs)
{
    m_comTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_comTimer, &QTimer::timeout, this, [this] { tick(Tick::ComTimer); });
    connect(&m_loggerTimer, &QTimer::timeout, this, [this] { tick(Tick::LoggerTimer); });
}

void MainLoop::start(int comPeriodMs, int loggerPeriodMs)
{
    m_comTimer.start(comPeriodMs);
    m_loggerTimer.start(loggerPeriodMs);
    QCoreApplication::instance()->installEventFilter(this);
}

void MainLoop::stop()
{
    if (auto* app = QCoreApplication::instance())
        app->removeEventFilter(this);
    m_comTimer.stop();
    m_loggerTimer.stop();
}

void MainLoop::setComPeriod(int ms)
{
    m_comTimer.setInterval(ms);
}

void MainLoop::setLoggerPeriod(int ms)
{
    m_loggerTimer.setInterval(ms);
}

void MainLoop::requestQuit()
{
    if (m_quit == QuitRequest::None)
        m_quit = QuitRequest::Asked;
}

bool MainLoop::eventFilter(QObject* watched, QEvent* event)
{
    // Each user event runs the COM period anew: while events come faster than the period,
    // timer 1 does not fire and the line stays quiet.
    if (isUserEvent(event->type()) && watched->isWidgetType()) {
        if (m_comTimer.isActive())
            m_comTimer.start();
        afterEvent();
    }
    return QObject::eventFilter(watched, event);
}

void MainLoop::afterEvent()
{
    // Coalesced: one redraw after the current event (and any queued with it) has been handled.
    if (m_redrawPending || !m_hooks.redrawFollowingViews)
        return;
    m_redrawPending = true;
    QTimer::singleShot(0, this, [this] {
        m_redrawPending = false;
        call(m_hooks.redrawFollowingViews);
    });
}

void MainLoop::tick(Tick which)
{
    call(m_hooks.connectStep);
    if (m_quit == QuitRequest::Asked)
        askQuit();
    const bool identified = call(m_hooks.identified, false);
    const bool firmwareBusy = call(m_hooks.firmwareBusy, false);
    if (m_hooks.drawLinkLamp)
        m_hooks.drawLinkLamp(call(m_hooks.comTicked, false), firmwareBusy, identified);
    if (!identified)
        call(m_hooks.clearTestCheck);
    call(m_hooks.drawLoggerLamp);
    if (which == Tick::LoggerTimer)
        call(m_hooks.loggerTick);
    if (which == Tick::ComTimer) {
        if (call(m_hooks.powerRunning, false))
            call(m_hooks.powerProgress);
        if (call(m_hooks.firmwareBusy, false))
            call(m_hooks.firmwareStep);
        else
            call(m_hooks.pollCycle);
    }
    call(m_hooks.refreshDisplays);
    call(m_hooks.redrawFollowingViews);
    if (m_quit == QuitRequest::Confirmed)
        emit quitConfirmed();
}

void MainLoop::askQuit()
{
    const bool yes = m_dialogs.question(
        QStringLiteral("Beenden?"),
        QStringLiteral(
            "Ist das Setup gespeichert?\rIst das Setup in der KVT im EEPROM?\r\rJetzt beenden?"));
    m_quit = yes ? QuitRequest::Confirmed : QuitRequest::None;
}

}  // namespace app

#include "app/MainLoop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>

#include <algorithm>

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

MainLoop::MainLoop(Dialogs& dialogs, QObject* parent)
    : QObject(parent), m_dialogs(dialogs), m_gate(dialogs.gate())
{
    m_comTimer.setTimerType(Qt::PreciseTimer);
    m_comTimer.setSingleShot(true);
    m_loggerTimer.setTimerType(Qt::PreciseTimer);
    m_loggerTimer.setSingleShot(true);
    connect(&m_comTimer, &QTimer::timeout, this, [this] { tick(Tick::ComTimer); });
    connect(&m_loggerTimer, &QTimer::timeout, this, [this] { tick(Tick::LoggerTimer); });
    // An event starts: no timer fires until it has ended, then the periods are armed again.
    m_gate.setListener(
        [this] {
            m_comTimer.stop();
            m_loggerTimer.stop();
        },
        [this] { armAfterEvent(); });
}

MainLoop::~MainLoop()
{
    m_gate.setListener({}, {});
}

void MainLoop::start(int comPeriodMs, int loggerPeriodMs)
{
    m_running = true;
    m_comPeriod = comPeriodMs;
    m_loggerPeriod = loggerPeriodMs;
    m_loggerDue = QDeadlineTimer(m_loggerPeriod, Qt::PreciseTimer);
    m_keptComDue.reset();
    armNow();
    QCoreApplication::instance()->installEventFilter(this);
}

void MainLoop::stop()
{
    m_running = false;
    if (auto* app = QCoreApplication::instance())
        app->removeEventFilter(this);
    m_comTimer.stop();
    m_loggerTimer.stop();
}

void MainLoop::setComPeriod(int ms)
{
    m_comPeriod = ms;
}

void MainLoop::setLoggerPeriod(int ms)
{
    m_loggerPeriod = ms;
    m_loggerDue = QDeadlineTimer(ms, Qt::PreciseTimer);
    if (m_running && !m_gate.held())
        m_loggerTimer.start(ms);
}

void MainLoop::armAfterEvent()
{
    if (!m_running || m_armQueued)
        return;
    m_armQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_armQueued = false;
            armNow();
        },
        Qt::QueuedConnection);
}

void MainLoop::armNow()
{
    // Inside a dialog's own loop the call comes too early: the gate's release arms again.
    if (!m_running || m_gate.held())
        return;
    const qint64 rest = m_restUntil.remainingTime();
    qint64 com = m_comPeriod;
    if (m_keptComDue) {
        com = std::max(m_keptComDue->remainingTime(), rest);
        m_keptComDue.reset();
    }
    m_comTimer.start(int(std::clamp<qint64>(com, 0, m_comPeriod)));
    const qint64 logger = std::max(m_loggerDue.remainingTime(), rest);
    const int longest = std::max(m_loggerPeriod, m_comPeriod);
    m_loggerTimer.start(int(std::clamp<qint64>(logger, 0, longest)));
}

void MainLoop::requestQuit()
{
    if (m_quit == QuitRequest::None)
        m_quit = QuitRequest::Asked;
}

bool MainLoop::eventFilter(QObject* watched, QEvent* event)
{
    // Each user event runs the COM period anew from its end: while events come faster than the
    // period, timer 1 does not fire and the line stays quiet.
    if (isUserEvent(event->type()) && watched->isWidgetType()) {
        m_keptComDue.reset();
        m_comTimer.stop();
        armAfterEvent();
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
    // Due while a dialog waits for its answer (in the dialog's own loop): this event would
    // interleave with the one in progress, so it does not happen.
    if (m_gate.held())
        return;
    // Timer 10 keeps its own cadence and leaves timer 1's time as it was.
    m_keptComDue.reset();
    if (which == Tick::LoggerTimer) {
        m_loggerDue = QDeadlineTimer(m_loggerPeriod, Qt::PreciseTimer);
        if (m_comTimer.isActive())
            m_keptComDue = QDeadlineTimer(m_comTimer.remainingTime(), Qt::PreciseTimer);
    }
    QElapsedTimer took;
    took.start();
    const EventGate::Hold hold(m_gate);
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
    // The line rests as long as this tick kept it busy, up to one COM period.
    m_restUntil = QDeadlineTimer(std::min<qint64>(took.elapsed(), m_comPeriod), Qt::PreciseTimer);
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

// Opening, losing, reopening and closing the port to the KVT.
#include "link/PortConnection.h"

#include "app/core/MessageLog.h"
#include "link/PortHelp.h"

#include <cerrno>

namespace devlink {

namespace {
// Driver buffer of the working connection.
constexpr int workingBufferSize = 254;
}  // namespace

PortConnection::PortConnection(app::MessageLog& log, PortFactory factory)
    : m_log(log), m_factory(std::move(factory))
{
}

PortConnection::~PortConnection()
{
    if (m_port)
        m_port->close();
}

void PortConnection::setView(LinkView* view)
{
    m_view = view ? view : &m_noView;
}

bool PortConnection::openPort()
{
    m_port = m_factory ? m_factory() : nullptr;
    return m_port && m_port->open(m_portName, workingBufferSize);
}

PortConnection::Change PortConnection::followComSwitch()
{
    const bool ticked = m_view->comTicked();
    if (ticked == m_comSwitch)
        return Change::None;
    m_portName = m_view->selectedPortText();
    m_portLost = false;
    if (!ticked) {
        m_comSwitch = false;
        m_portOpen = false;
        if (m_port)
            m_port->close();
        m_log.logMessage(QStringLiteral("COM aus"));
        return Change::SwitchedOff;
    }
    m_comSwitch = true;
    if (m_portOpen)
        return Change::None;
    if (!openPort()) {
        m_openRefusal = m_port ? m_port->openError() : 0;
        return Change::OpenFailed;
    }
    m_log.logMessage(m_portName + QStringLiteral(" ist ein"));
    m_portOpen = true;
    return Change::Opened;
}

void PortConnection::reopenLostPort()
{
    // One attempt per tick: a missing adapter costs one failed open() per period and stays
    // silent, the loss having been reported once.
    if (!openPort())
        return;
    m_portLost = false;
    m_portOpen = true;
    m_log.logMessage(m_portName + QStringLiteral(" ist ein"));
}

void PortConnection::dropUnavailablePort()
{
    if (m_port)
        m_port->close();
    if (m_portOpen) {
        // Lost while open: the user's switch stays on and the next ticks reconnect.
        m_portLost = true;
    } else {
        // Ticking "COM" found no device to open: the switch goes back.
        m_comSwitch = false;
        m_view->untickCom();
    }
    m_portOpen = false;
}

void PortConnection::reportUnavailable()
{
    m_log.logMessage(QStringLiteral("COM Fehler - Port nicht verfügbar"));
    if (m_openRefusal) {
        helpWithRefusedOpen(*m_openRefusal);
        m_openRefusal.reset();
    }
}

void PortConnection::helpWithRefusedOpen(int error)
{
    QString path = m_portName;
    if (path.isEmpty() && !m_refusedPorts.isEmpty()) {
        path = m_refusedPorts.first();
        error = EACCES;
    }
    const QString status = refusalStatusLine(path, error);
    if (status.isEmpty())
        return;
    m_log.logMessage(status);
    m_view->showPortHelp(refusalAdvice(path, error));
}

void PortConnection::close()
{
    if (m_port)
        m_port->close();
    m_portOpen = false;
    m_portLost = false;
}

}  // namespace devlink

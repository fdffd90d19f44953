// PortConnection: the one serial port to the KVT and its life. It follows the "COM" box, opens
// the selected device, keeps a lost device's path to open it again at every tick, closes it,
// and tells the user what to do when a device could not be opened. The bytes on the open port
// go through PortLine; what the KVT is, Identification knows.
//
// A port that cannot be opened when "COM" is ticked is reported by dropUnavailablePort() and
// reportUnavailable() ("COM Fehler - Port nicht verfügbar") and "COM" is unticked. A port that
// fails while open is reported the same way once and closed, but "COM" stays ticked: every
// later tick makes one attempt to open the same device path again (reopenLostPort()).
#pragma once

#include "link/LinkView.h"
#include "link/SerialPort.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace app {
class MessageLog;
}

namespace devlink {

class PortConnection final {
public:
    // What followComSwitch() did.
    enum class Change { None, Opened, OpenFailed, SwitchedOff };

    PortConnection(app::MessageLog& log, PortFactory factory);
    ~PortConnection();
    PortConnection(const PortConnection&) = delete;
    PortConnection& operator=(const PortConnection&) = delete;

    // The view must outlive the connection or be reset to nullptr; nullptr means no windows.
    void setView(LinkView* view);
    // Devices the port list left out because this user may not open them: ticking "COM"
    // without a port to choose then explains the permission rather than a missing adapter.
    void setRefusedPorts(const QStringList& paths) { m_refusedPorts = paths; }

    // Opens or closes the port when the "COM" box changed since the last tick ("... ist ein",
    // "COM aus"). A failed open is left to dropUnavailablePort() and reportUnavailable().
    Change followComSwitch();
    // One silent attempt to open the lost port's path again ("... ist ein" when it opens).
    void reopenLostPort();
    // The port is unusable: closes it; a port that was open counts as lost (the next ticks
    // reopen it), a port that never opened unticks "COM".
    void dropUnavailablePort();
    // Logs "COM Fehler - Port nicht verfügbar" and, after a refused open, what the user can do.
    void reportUnavailable();
    // Closes the port and ends the reconnect attempts (used at program end as well).
    void close();

    bool comSwitch() const { return m_comSwitch; }
    bool portOpen() const { return m_portOpen; }
    // The open port failed and "COM" is still ticked: each tick tries to open it again.
    bool portLost() const { return m_portLost; }
    const QString& portName() const { return m_portName; }
    // The open port broke (adapter unplugged).
    bool portFailed() const { return m_port && m_port->isOpen() && m_port->failed(); }
    // The open port's descriptor for a notifier (firmware update), -1 when there is none.
    int descriptor() const { return m_port && m_portOpen ? m_port->descriptor() : -1; }
    // The port last made by the factory, open or not; nullptr before the first "COM".
    SerialPort* port() const { return m_port.get(); }

private:
    bool openPort();
    void helpWithRefusedOpen(int error);

    app::MessageLog& m_log;
    PortFactory m_factory;
    LinkView m_noView;
    LinkView* m_view = &m_noView;
    std::unique_ptr<SerialPort> m_port;

    QString m_portName;
    bool m_comSwitch = false;
    bool m_portOpen = false;
    bool m_portLost = false;
    // The open error of ticking "COM" until it is reported.
    std::optional<int> m_openRefusal;
    QStringList m_refusedPorts;
};

}  // namespace devlink

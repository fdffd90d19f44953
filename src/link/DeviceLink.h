// DeviceLink: the one connection to the KVT as the program sees it. It owns the link's parts
// and runs the two steps of every timer tick:
//
//   connectStep()  follows the "COM" box (PortConnection), identifies the KVT with "I" when
//                  needed and evaluates the ReplyStatus (Identification; the quit question is
//                  the caller's, right after). A time-out left by a command since the last
//                  tick is evaluated before the identification, so the KVT is identified again
//                  in the same tick.
//   pollCycle()    while identified: "D" into the LiveRecord, published through feed(), then
//                  "G", "A", "P" while a query registered with feed().want() asks for them
//                  (PollCycle).
//
// The raw line (PortLine: bytes, waits, the clock), the port (PortConnection) and the commands
// (DeviceCommands) are reached through line(), connection() and commands(); the state the
// program reads on every tick is handed on here. All messages go to the MessageLog;
// the "COM" box and the identity display are reached through LinkView.
//
// The subsystem's namespace is devlink: a namespace named link cannot live beside the POSIX
// function ::link() that <unistd.h> declares (and <thread> pulls in).
#pragma once

#include "link/DeviceCommands.h"
#include "link/Identification.h"
#include "link/LinkClock.h"
#include "link/LinkFeed.h"
#include "link/LinkTypes.h"
#include "link/LinkView.h"
#include "link/LiveRecord.h"
#include "link/PollCycle.h"
#include "link/PortConnection.h"
#include "link/PortLine.h"
#include "link/SerialPort.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace app {
class MessageLog;
}

namespace devlink {

class DeviceLink final {
public:
    DeviceLink(app::MessageLog& log, PortFactory factory, LinkClock& clock = systemClock());
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // The view must outlive the link or be reset to nullptr; nullptr means no windows.
    void setView(LinkView* view);
    void setRefusedPorts(const QStringList& paths) { m_connection.setRefusedPorts(paths); }
    // Asked at every identification: is "Setup automatisch von KVT einlesen" ticked? Without
    // it the setup is never read after an identification.
    void setSetupReadWanted(std::function<bool()> wanted)
    {
        m_identification.setSetupReadWanted(std::move(wanted));
    }
    LinkFeed& feed() { return m_poll.feed(); }

    // --- the parts ---
    PortConnection& connection() { return m_connection; }
    PortLine& line() { return m_line; }
    Identification& identification() { return m_identification; }
    PollCycle& poll() { return m_poll; }
    DeviceCommands& commands() { return m_commands; }

    // --- the tick ---
    void connectStep();
    void pollCycle() { m_poll.run(); }

    // --- state ---
    bool identified() const { return m_identification.identified(); }
    bool portOpen() const { return m_connection.portOpen(); }
    bool comSwitch() const { return m_connection.comSwitch(); }
    bool firmwareBusy() const { return m_firmwareBusy; }
    void setFirmwareBusy(bool busy);
    ReplyStatus replyStatus() const { return m_line.replyStatus(); }
    const DeviceIdentity& identity() const { return m_identification.identity(); }
    const QString& portName() const { return m_connection.portName(); }
    const LiveRecord& liveRecord() const { return m_poll.liveRecord(); }
    qint64 clockOffset() const { return m_poll.clockOffset(); }
    void requestClockOffsetReset() { m_poll.requestClockOffsetReset(); }

    // Size of the transfer buffer shared by the "G" and "L" replies.
    static constexpr int transferBufferSize = PollCycle::transferBufferSize;

    // The KVT restarts (after a firmware update): it is identified anew at the next tick.
    void identifyAgain() { m_identification.forget(); }

    // Closes the port and clears the link (used at program end as well).
    void closePort();

private:
    // The setup transfer fills the shared transfer buffer; tests reach the state setters.
    friend class SetupTransfer;
    friend struct LinkTestAccess;

    QByteArray& transferBuffer() { return m_transferBuffer; }

    app::MessageLog& m_log;
    bool m_firmwareBusy = false;
    PortConnection m_connection;
    PortLine m_line;
    Identification m_identification;
    QByteArray m_transferBuffer;
    PollCycle m_poll;
    DeviceCommands m_commands;
};

}  // namespace devlink

// DeviceLink: the one connection to the KVT. Holds the link state (comSwitch, portOpen,
// identified, firmwareBusy, ReplyStatus, DeviceIdentity), the LiveRecord and the transfer
// buffer, and runs the two steps of every timer tick:
//
//   connectStep()  follows the "COM" box, identifies the KVT with "I" when needed, and
//                  evaluates the ReplyStatus (the quit question is the caller's, right after).
//                  A time-out left by a command since the last tick is evaluated before the
//                  identification, so the KVT is identified again in the same tick.
//   pollCycle()    while identified: "D" into the LiveRecord, published through feed(), then
//                  "G", "A", "P" while a query registered with feed().want() asks for them.
//
// Everything blocks the calling thread as the protocol is strictly request and reply:
// waitReply() sleeps on the port (never spins) until exactly the expected number of bytes is
// there or 200 ms passed. Commands without a reply are sent blind with sendLetter/sendBytes
// and pause(). All messages go to the MessageLog; the "COM" box and the identity display are
// reached through LinkView, everything the cycle reads through LinkFeed.
//
// A port that cannot be opened when "COM" is ticked logs "COM Fehler - Port nicht verfügbar"
// and unticks "COM". A port that fails while open (adapter unplugged) logs the same once and
// is closed, but "COM" stays ticked (the lamp shows red): every later tick makes one attempt to
// open the same device path again, and once it opens ("... ist ein") the KVT is identified and
// polled as before. Unticking "COM" ends the attempts.
//
// The subsystem's namespace is devlink: a namespace named link cannot live beside the POSIX
// function ::link() that <unistd.h> declares (and <thread> pulls in).
#pragma once

#include "link/LinkClock.h"
#include "link/LinkFeed.h"
#include "link/LinkTypes.h"
#include "link/LinkView.h"
#include "link/LiveRecord.h"
#include "link/SerialPort.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace app {
class MessageLog;
struct ProgramSettings;
}  // namespace app

namespace devlink {

class DeviceLink final {
public:
    // settings is read at every identification ("Setup automatisch von KVT einlesen").
    DeviceLink(app::MessageLog& log, const app::ProgramSettings& settings, PortFactory factory,
               LinkClock& clock = systemClock());
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // The view must outlive the link or be reset to nullptr; nullptr means no windows.
    void setView(LinkView* view);
    // Devices the port list left out because this user may not open them: ticking "COM"
    // without a port to choose then explains the permission rather than a missing adapter.
    void setRefusedPorts(const QStringList& paths) { m_refusedPorts = paths; }
    // Subscriptions to the live record and the on-demand replies.
    LinkFeed& feed() { return m_feed; }
    // Called right after every identification while "Setup automatisch von KVT einlesen" is
    // ticked (the setup transfer's readSetup).
    void setAfterIdentification(std::function<void()> hook)
    {
        m_afterIdentification = std::move(hook);
    }

    // --- the tick ---
    void connectStep();
    void pollCycle();

    // Waits until exactly count bytes are waiting or 200 ms passed; with a letter, reads the
    // first byte and checks it. Sets and returns the ReplyStatus. The caller reads the rest.
    ReplyStatus waitReply(int count, const QString& letter = {});

    // --- state ---
    bool identified() const { return m_identified; }
    bool portOpen() const { return m_portOpen; }
    bool comSwitch() const { return m_comSwitch; }
    // The open port failed and "COM" is still ticked: each tick tries to open it again.
    bool portLost() const { return m_portLost; }
    bool firmwareBusy() const { return m_firmwareBusy; }
    void setFirmwareBusy(bool busy);
    ReplyStatus replyStatus() const { return m_replyStatus; }
    const DeviceIdentity& identity() const { return m_identity; }
    const QString& portName() const { return m_portName; }

    const LiveRecord& liveRecord() const { return m_live; }
    // Program clock (ms) minus the KVT time stamp (ms), taken at the next "D" after a request.
    qint64 clockOffset() const { return m_clockOffset; }
    void requestClockOffsetReset() { m_clockOffsetReset = true; }

    // Size of the transfer buffer shared by the "G" and "L" replies.
    static constexpr int transferBufferSize = 1000;

    // --- raw line access (setup transfer, firmware update) ---
    // The open port's descriptor for a notifier (firmware update), -1 when there is none.
    int portDescriptor() const { return m_port && m_portOpen ? m_port->descriptor() : -1; }
    // The open port broke (adapter unplugged); connectStep reports and closes it.
    bool portFailed() const;
    // The KVT restarts (after a firmware update): it is identified anew at the next tick.
    void identifyAgain() { m_identified = false; }
    void sendLetter(char letter);
    void sendBytes(const QByteArray& bytes);
    void pause(int ms) { m_clock.sleepMs(ms); }
    // One received byte, or nothing when none is waiting.
    std::optional<quint8> readByte();
    int bytesWaiting();
    int bytesToWrite();
    // Reads and drops everything waiting.
    void discardInput();
    LinkClock& clock() { return m_clock; }

    // --- commands without a reply (callers check the conditions their windows name) ---
    // "W", 20 ms, index, value rounded and limited to one byte. Only while identified.
    void sendSetValue(int index, double value);
    // "X" 3: erase the KVT's EEPROM; logs "EEPROM loeschen".
    void eraseEeprom();
    // "X" 4: oscillator fine-tune byte.
    void sendCalibrationByte(quint8 value);
    // "N": restart the KVT.
    void restartKvt();
    // "V", 20 ms, output number, value high byte, low byte.
    void switchOutput(int output, quint16 value);
    // "B" with source (1 EEPROM, 0 RAM), 200 ms, then the 920-byte reply: returns the 919
    // bytes after "b" (flag byte first) or nothing when the reply failed.
    std::optional<QByteArray> readLambdaTable(bool fromEeprom);
    // "C" with target (1 EEPROM, 0 RAM).
    void clearLambdaTable(bool eeprom);
    // "U" and 200 ms: the KVT starts its boot loader.
    void startBootLoader();

    // Closes the port and clears the link (used at program end as well).
    void closePort();

private:
    // The setup transfer fills the shared transfer buffer; tests reach the state setters.
    friend class SetupTransfer;
    friend struct LinkTestAccess;

    void setIdentified(bool on) { m_identified = on; }
    void setReplyStatus(ReplyStatus status) { m_replyStatus = status; }
    QByteArray& transferBuffer() { return m_transferBuffer; }

    void switchComIfChanged();
    void reopenLostPort();
    // After "COM Fehler - Port nicht verfügbar": what the user can do about it, if anything.
    void helpWithRefusedOpen(int error);
    void identify();
    void evaluateReplyStatus();
    void clearIdentity();

    // pollCycle parts
    bool pollLiveValues();
    void readLearnedMap();
    void readSensorVoltages();
    void readExpertValues();

    app::MessageLog& m_log;
    const app::ProgramSettings& m_settings;
    PortFactory m_factory;
    LinkClock& m_clock;
    LinkView m_noView;
    LinkView* m_view = &m_noView;
    LinkFeed m_feed;
    std::function<void()> m_afterIdentification;
    std::unique_ptr<SerialPort> m_port;

    QString m_portName;
    bool m_comSwitch = false;
    bool m_portOpen = false;
    bool m_portLost = false;
    bool m_identified = false;
    bool m_firmwareBusy = false;
    ReplyStatus m_replyStatus = ReplyStatus::Ok;
    DeviceIdentity m_identity;
    // The open error of ticking "COM" until it is reported.
    std::optional<int> m_openRefusal;
    QStringList m_refusedPorts;

    LiveRecord m_live;
    bool m_clockOffsetReset = true;
    qint64 m_clockOffset = 0;
    QByteArray m_transferBuffer;
};

}  // namespace devlink

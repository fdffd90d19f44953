// PortLine: the bytes on the connection's port. Raw reads and writes for the protocol, the
// setup transfer and the firmware update, the pauses between a command letter and its bytes,
// and the reply wait with the ReplyStatus it leaves for the next tick to evaluate.
//
// waitReply() blocks the calling thread as the protocol is strictly request and reply: it
// sleeps on the port (never spins) until exactly the expected number of bytes is there or
// 200 ms passed. Everything acts on the port the PortConnection holds and does nothing
// without one.
#pragma once

#include "link/LinkClock.h"
#include "link/LinkTypes.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace app {
class MessageLog;
}

namespace devlink {

class PortConnection;

class PortLine final {
public:
    PortLine(PortConnection& connection, app::MessageLog& log, LinkClock& clock);

    // True when the port took every byte (a stuck line gives up after its write time-out).
    bool sendLetter(char letter);
    bool sendBytes(const QByteArray& bytes);
    void pause(int ms) { m_clock.sleepMs(ms); }
    // One received byte, or nothing when none is waiting.
    std::optional<quint8> readByte();
    // Up to count bytes that are waiting, without waiting for more.
    QByteArray read(int count);
    int bytesWaiting();
    int bytesToWrite();
    // Reads and drops everything waiting.
    void discardInput();
    LinkClock& clock() { return m_clock; }

    // Waits until exactly count bytes are waiting or 200 ms passed; with a letter, reads the
    // first byte and checks it. Sets and returns the ReplyStatus. The caller reads the rest.
    ReplyStatus waitReply(int count, const QString& letter = {});
    ReplyStatus replyStatus() const { return m_replyStatus; }
    void setReplyStatus(ReplyStatus status) { m_replyStatus = status; }
    // Runs when a reply starts with another letter than the one asked for: the KVT counts as
    // unidentified from then on, before the next tick evaluates the status.
    void setUnknownReplyHook(std::function<void()> hook) { m_unknownReply = std::move(hook); }

private:
    void logTimeout(const QString& letter);

    PortConnection& m_connection;
    app::MessageLog& m_log;
    LinkClock& m_clock;
    ReplyStatus m_replyStatus = ReplyStatus::Ok;
    std::function<void()> m_unknownReply;
};

}  // namespace devlink

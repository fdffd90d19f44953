// CellSender: edited cells on their way to the KVT. A single cell goes out at once, as the
// editing keys always did. A block of cells is queued and sent one cell per event at the
// line's pace (letter, 20 ms pause, bytes), so the window keeps answering; while cells are
// queued the polling cycle pauses (the program asks busy()) and the status line shows the
// progress. A cell the line does not take, or a KVT that is no longer identified, stops the
// rest: the log and the stopped hook name every cell that did not reach the KVT.
//
// A cell queued again before it went out is sent once, with its newest value.
//
// Each cell is one event: it holds the program's event gate while it is on the line, so no
// other event writes between its letter and its bytes.
#pragma once

#include "app/core/EventGate.h"
#include "app/core/MessageLog.h"
#include "maps/CellLink.h"
#include "maps/CellTables.h"

#include <QObject>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

namespace maps {

class CellSender final : public QObject {
    Q_OBJECT
public:
    CellSender(CellLink& link, app::MessageLog& log, QObject* parent = nullptr);

    // The program's gate: no cell goes out while a dialog or a tick holds it.
    void setGate(app::EventGate* gate) { m_gate = gate; }
    // Whether a block's cells are sent by the timer (the program) or only by sendNext()
    // (tests that drive the queue themselves).
    void setTimerDriven(bool on) { m_timerDriven = on; }

    // Without an identified KVT (or during a firmware update) nothing is sent or logged.
    void send(std::vector<CellCommand> commands);
    bool canSend() const { return m_link.identified() && !m_link.firmwareBusy(); }

    // Cells queued and not yet sent.
    bool busy() const { return !m_queue.empty(); }
    int queued() const { return int(m_queue.size()); }
    // Sends the next queued cell; false when there was none.
    bool sendNext();
    // Drops the queue without a message: the whole setup went to the KVT, or was replaced.
    void dropQueued();

    // After every cell the line took.
    void setSentHook(std::function<void(const CellCommand&)> hook) { m_sent = std::move(hook); }
    // When a block stopped early, with the message for the user.
    void setStoppedHook(std::function<void(const QString&)> hook) { m_stopped = std::move(hook); }

private:
    bool sendOne(const CellCommand& command);
    void stop(bool lineStuck);
    void schedule(int ms = 0);
    void showProgress();

    CellLink& m_link;
    app::MessageLog& m_log;
    app::EventGate* m_gate = nullptr;
    bool m_timerDriven = true;
    std::deque<CellCommand> m_queue;
    int m_blockSize = 0;  // cells of the block under way (queued and sent)
    int m_blockSent = 0;
    QTimer m_timer;
    std::function<void(const CellCommand&)> m_sent;
    std::function<void(const QString&)> m_stopped;
};

}  // namespace maps

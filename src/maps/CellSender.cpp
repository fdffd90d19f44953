// Cells to the KVT, one at once or a block at the line's pace.
#include "maps/CellSender.h"

#include <algorithm>

namespace maps {
namespace {

// While a dialog is open the queue waits; it looks again this often.
constexpr int gateRetryMs = 20;

}  // namespace

CellSender::CellSender(CellLink& link, app::MessageLog& log, QObject* parent)
    : QObject(parent), m_link(link), m_log(log)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_gate && m_gate->held()) {
            schedule(gateRetryMs);
            return;
        }
        if (sendNext() && busy())
            schedule();
    });
}

void CellSender::send(std::vector<CellCommand> commands)
{
    if (commands.empty() || !canSend())
        return;
    // A single cell while nothing waits goes out at once, as the keys always did.
    if (commands.size() == 1 && m_queue.empty()) {
        if (!sendOne(commands.front())) {
            m_queue.push_back(commands.front());
            m_blockSize = 1;
            m_blockSent = 0;
            stop(true);
        }
        return;
    }
    // Cells queued after others keep their order, so a later value never goes out first.
    if (m_queue.empty()) {
        m_blockSize = 0;
        m_blockSent = 0;
    }
    for (CellCommand& c : commands) {
        // A cell still waiting takes the newer value: held keys (F3, F4) or an undo right after
        // an operation would otherwise send the same cell many times over.
        const auto waiting = std::find_if(m_queue.begin(), m_queue.end(), [&](const auto& q) {
            return q.view == c.view && q.cell == c.cell;
        });
        if (waiting != m_queue.end()) {
            *waiting = std::move(c);
        } else {
            m_queue.push_back(std::move(c));
            ++m_blockSize;
        }
    }
    showProgress();
    schedule();
}

bool CellSender::sendNext()
{
    if (m_queue.empty())
        return false;
    if (!canSend()) {
        stop(false);
        return true;
    }
    const std::optional<app::EventGate::Hold> hold =
        m_gate ? std::optional<app::EventGate::Hold>(std::in_place, *m_gate) : std::nullopt;
    if (!sendOne(m_queue.front())) {
        stop(true);
        return true;
    }
    m_queue.pop_front();
    ++m_blockSent;
    if (m_queue.empty()) {
        if (m_blockSize > 1)
            m_log.logMessage(QString::number(m_blockSent) +
                             QStringLiteral(" Zellen an die KVT gesendet"));
        m_blockSize = 0;
        m_blockSent = 0;
    } else {
        showProgress();
    }
    return true;
}

bool CellSender::sendOne(const CellCommand& command)
{
    if (!m_link.sendPaused(command.letter, command.bytes))
        return false;
    m_log.logMessage(command.logLine);
    if (m_sent)
        m_sent(command);
    return true;
}

void CellSender::dropQueued()
{
    m_timer.stop();
    m_queue.clear();
    m_blockSize = 0;
    m_blockSent = 0;
}

void CellSender::stop(bool lineStuck)
{
    m_timer.stop();
    QString cells;
    for (const CellCommand& c : m_queue)
        cells += (cells.isEmpty() ? QString() : QStringLiteral(" ")) + cellName(c.view, c.cell);
    const int missing = int(m_queue.size());
    const int total = m_blockSize;
    m_queue.clear();
    m_blockSize = 0;
    m_blockSent = 0;
    m_log.logMessage(QStringLiteral("Senden abgebrochen: ") + QString::number(missing) +
                     QStringLiteral(" Zellen nicht bei der KVT"));
    const QString why =
        lineStuck ? QStringLiteral("Zeitüberschreitung beim Senden an die KVT: die Leitung hat "
                                   "die Daten nicht angenommen.")
                  : QStringLiteral("Die Verbindung zur KVT ist während des Sendens verloren "
                                   "gegangen.");
    const QString text = why + QStringLiteral("\r\r") + QString::number(missing) +
                         QStringLiteral(" von ") + QString::number(total) +
                         QStringLiteral(" Zellen haben die KVT nicht erreicht:\r") + cells +
                         QStringLiteral("\r\rDie Werte sind in der Motrix geändert; \"-> KVT\" "
                                        "überträgt das ganze Setup.");
    if (m_stopped)
        m_stopped(text);
}

void CellSender::schedule(int ms)
{
    if (m_timerDriven)
        m_timer.start(ms);
}

void CellSender::showProgress()
{
    m_log.showStatus(QStringLiteral("Sende Zellen an die KVT: ") + QString::number(m_blockSent) +
                     QStringLiteral(" von ") + QString::number(m_blockSize));
}

}  // namespace maps

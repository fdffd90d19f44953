// PollCycle: one polling cycle while the KVT is identified. "D" into the LiveRecord, published
// through the LinkFeed it owns, then "G", "A" and "P" while a query registered with
// feed().want() asks for them. It also keeps the offset between the program clock and the
// KVT's time stamp.
#pragma once

#include "link/LinkFeed.h"
#include "link/LiveRecord.h"

#include <QByteArray>

namespace devlink {

class Identification;
class PortConnection;
class PortLine;

class PollCycle final {
public:
    // Size of the transfer buffer shared by the "G" and "L" replies.
    static constexpr int transferBufferSize = 1000;

    // transferBuffer is shared with the setup transfer: "G" replies land in it.
    PollCycle(PortConnection& connection, PortLine& line, const Identification& identification,
              QByteArray& transferBuffer);

    // One cycle; nothing while the KVT is not identified.
    void run();

    // Subscriptions to the live record and the on-demand replies.
    LinkFeed& feed() { return m_feed; }
    const LiveRecord& liveRecord() const { return m_live; }
    // Program clock (ms) minus the KVT time stamp (ms), taken at the next "D" after a request.
    qint64 clockOffset() const { return m_clockOffset; }
    void requestClockOffsetReset() { m_clockOffsetReset = true; }

private:
    bool pollLiveValues();
    void readLearnedMap();
    void readSensorVoltages();
    void readExpertValues();

    PortConnection& m_connection;
    PortLine& m_line;
    const Identification& m_identification;
    QByteArray& m_transferBuffer;
    LinkFeed m_feed;
    LiveRecord m_live;
    bool m_clockOffsetReset = true;
    qint64 m_clockOffset = 0;
};

}  // namespace devlink

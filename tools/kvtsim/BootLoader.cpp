// The simulated boot loader's frame checks, faults and image file.
#include "BootLoader.h"

#include <QSaveFile>

namespace kvtsim {

namespace {
constexpr quint8 attention = 0x7B;
constexpr quint8 frameStart = 0x01;
constexpr quint8 ack = 0x06;
constexpr quint8 nak = 0x15;
constexpr quint8 endOfTransfer = 0x04;
constexpr quint8 cancel = 0x18;
constexpr int dataLength = 128;
constexpr int frameLength = 3 + dataLength + 1;

QByteArray one(quint8 b)
{
    return QByteArray(1, char(b));
}
}  // namespace

void BootLoader::begin()
{
    m_active = true;
    m_started = false;
    m_attentionHeard = false;
    m_outcome = Outcome::Running;
    m_frame.clear();
    m_received = m_accepted = m_refused = 0;
    m_dropRequest = false;
    m_image.clear();
    m_events.clear();
}

void BootLoader::lineDropped()
{
    // A frame cut off by the drop never completes; the boot loader waits for a new one.
    m_frame.clear();
}

bool BootLoader::takeDropRequest()
{
    const bool drop = m_dropRequest;
    m_dropRequest = false;
    return drop;
}

QByteArray BootLoader::receive(quint8 byte)
{
    if (!m_active)
        return {};
    if (!m_frame.isEmpty()) {
        m_frame.append(char(byte));
        if (m_frame.size() < frameLength)
            return {};
        const QByteArray answer = frameComplete();
        return m_faults.silent ? QByteArray() : answer;
    }
    QByteArray answer;
    switch (byte) {
    case attention:
        // Answered at any time between frames: a program that lost the line in the middle of
        // a transfer finds the boot loader still waiting this way.
        m_events << QStringLiteral("7B");
        m_attentionHeard = true;
        answer = one(attention);
        break;
    case 0x00:
        m_events << QStringLiteral("00");
        // The start byte after an attention begins the transfer anew: frame 1 is asked for
        // and the frames received so far are forgotten.
        if (m_attentionHeard) {
            m_accepted = 0;
            m_image.clear();
        }
        m_attentionHeard = false;
        m_started = true;
        answer = one(nak);
        break;
    case frameStart:
        if (m_started)
            m_frame.append(char(byte));
        break;
    case endOfTransfer:
        m_events << QStringLiteral("04");
        end(Outcome::Completed);
        break;
    case cancel:
        m_events << QStringLiteral("18");
        end(Outcome::Cancelled);
        break;
    default: break;
    }
    return m_faults.silent ? QByteArray() : answer;
}

QByteArray BootLoader::frameComplete()
{
    const QByteArray frame = m_frame;
    m_frame.clear();
    ++m_received;
    // The sum runs over the 0x01, both number bytes and the data; a broken boot loader that
    // leaves out the 0x01 refuses every frame.
    quint8 sum = 0;
    for (int i = m_faults.wrongChecksum ? 1 : 0; i < frameLength - 1; ++i)
        sum = quint8(sum + quint8(frame.at(i)));
    const quint8 number = quint8(frame.at(1));
    const bool numbersFit = quint8(frame.at(2)) == quint8(number + 1);
    const bool next = number == quint8(m_accepted + 1);
    // The program sent the last frame again (its ACK was lost): acknowledge, keep nothing.
    const bool repeat = m_accepted > 0 && number == quint8(m_accepted);
    bool good = sum == quint8(frame.at(frameLength - 1)) && numbersFit && (next || repeat);
    if (m_faults.nakFrame > 0 && m_received == m_faults.nakFrame)
        good = false;
    m_events << QStringLiteral("F%1%2").arg(number).arg(good ? "" : "!");
    if (!good) {
        ++m_refused;
        return one(nak);
    }
    if (next) {
        m_image.append(frame.mid(3, dataLength));
        ++m_accepted;
        if (m_faults.dropAfterFrames > 0 && m_accepted == m_faults.dropAfterFrames)
            m_dropRequest = true;
        if (m_faults.holdAckOfFrame > 0 && m_accepted == m_faults.holdAckOfFrame)
            return {};
    }
    return one(ack);
}

void BootLoader::end(Outcome outcome)
{
    m_active = false;
    m_outcome = outcome;
    if (outcome != Outcome::Completed || m_imageFile.isEmpty())
        return;
    QSaveFile file(m_imageFile);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(m_image);
        file.commit();
    }
}

QByteArray BootLoader::versionInImage() const
{
    const qsizetype at = m_image.indexOf("SWV=");
    if (at < 0 || at + 7 > m_image.size())
        return {};
    return m_image.mid(at + 4, 3);
}

}  // namespace kvtsim

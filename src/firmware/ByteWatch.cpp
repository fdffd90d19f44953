// The port notifier of the firmware update.
#include "firmware/ByteWatch.h"

#include <QSocketNotifier>

namespace firmware {

ByteWatch::ByteWatch(FirmwareUpdate& update, BootLine& line, std::function<bool()> paused,
                     QObject* parent)
    : QObject(parent), m_update(update), m_line(line), m_paused(std::move(paused))
{
}

ByteWatch::~ByteWatch()
{
    stopWatching();
}

void ByteWatch::follow()
{
    const int descriptor = m_update.busy() ? m_line.descriptor() : -1;
    if (descriptor == m_descriptor)
        return;
    stopWatching();
    if (descriptor < 0)
        return;
    m_descriptor = descriptor;
    m_notifier = new QSocketNotifier(qintptr(descriptor), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ByteWatch::bytesArrived);
}

void ByteWatch::stopWatching()
{
    delete m_notifier;
    m_notifier = nullptr;
    m_descriptor = -1;
}

void ByteWatch::bytesArrived()
{
    if (m_paused && m_paused()) {
        // Taken into the port's buffer, so that the notifier rests until new bytes come; the
        // next tick handles them.
        m_line.bytesWaiting();
        return;
    }
    // One step per waiting byte, as many steps in a row as bytes came.
    while (m_update.busy() && m_line.bytesWaiting() > 0)
        m_update.byteWaiting();
    if (m_update.busy() && m_line.failed())
        m_update.byteWaiting();  // ends the update on the lost port
    follow();
}

}  // namespace firmware

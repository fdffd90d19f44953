// Wakes the firmware update as soon as a byte from the boot loader arrives, so that the next
// frame follows its ACK without waiting for the next COM-timer tick. A notifier watches the
// port while an update runs; follow() is called after anything that may start or end one.
#pragma once

#include "firmware/BootLine.h"
#include "firmware/FirmwareUpdate.h"

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace firmware {

class ByteWatch final : public QObject {
    Q_OBJECT
public:
    // paused answers true while no step may run (a dialog waits for its answer, a tick is in
    // progress); bytes arriving then wait for the next tick.
    ByteWatch(FirmwareUpdate& update, BootLine& line, std::function<bool()> paused,
              QObject* parent = nullptr);
    ~ByteWatch() override;

    void follow();
    bool watching() const { return m_notifier != nullptr; }

private:
    void bytesArrived();
    void stopWatching();

    FirmwareUpdate& m_update;
    BootLine& m_line;
    std::function<bool()> m_paused;
    QSocketNotifier* m_notifier = nullptr;
    int m_descriptor = -1;
};

}  // namespace firmware

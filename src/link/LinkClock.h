// The link's millisecond clock and its fixed pauses, injectable so that tests with a fake port
// can run the 10/20/100/200 ms waits without real time passing.
#pragma once

#include <QtGlobal>

namespace devlink {

class LinkClock {
public:
    virtual ~LinkClock() = default;
    // Monotonic milliseconds.
    virtual qint64 nowMs() const = 0;
    // Blocks for ms milliseconds (the pauses between a command letter and its bytes).
    virtual void sleepMs(int ms) = 0;
};

// The steady clock of the machine; sleepMs really sleeps.
class SystemClock final : public LinkClock {
public:
    qint64 nowMs() const override;
    void sleepMs(int ms) override;
};

// A shared SystemClock for links built without an explicit clock.
LinkClock& systemClock();

}  // namespace devlink

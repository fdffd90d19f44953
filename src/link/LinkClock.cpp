// The steady millisecond clock and real sleeps used by the link outside tests.
#include "link/LinkClock.h"

#include <chrono>
#include <thread>

namespace devlink {

qint64 SystemClock::nowMs() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SystemClock::sleepMs(int ms)
{
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

LinkClock& systemClock()
{
    static SystemClock clock;
    return clock;
}

}  // namespace devlink

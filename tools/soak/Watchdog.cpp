// The watchdog thread: it sleeps on a condition variable and looks at the last beat.
#include "Watchdog.h"

#include <cstdio>
#include <cstdlib>

namespace soak {

Watchdog::Watchdog(int limitMs, int abortAfterMs) : m_limitMs(limitMs), m_abortAfterMs(abortAfterMs)
{
}

Watchdog::~Watchdog()
{
    stop();
}

long long Watchdog::now()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void Watchdog::start()
{
    beat();
    m_thread = std::thread([this] { run(); });
}

void Watchdog::stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

std::vector<Hang> Watchdog::hangs() const
{
    std::lock_guard lock(m_mutex);
    return m_hangs;
}

void Watchdog::run()
{
    bool inStall = false;
    long long stallFrom = 0;
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        m_wake.wait_for(lock, std::chrono::milliseconds(100));
        const long long last = m_lastBeat;
        const long long late = now() - last;
        if (late > m_longestLate)
            m_longestLate = late;
        if (late > m_limitMs) {
            if (!inStall) {
                inStall = true;
                stallFrom = last;
                m_hangs.push_back({m_place.load(), late});
                std::fprintf(stderr, "motrix-soak: HANG: no beat for %lld ms in %s\n", late,
                             m_place.load());
            }
            m_hangs.back().lastedMs = late;
            if (late > m_abortAfterMs) {
                std::fprintf(stderr, "motrix-soak: hung for %lld ms in %s, aborting\n", late,
                             m_place.load());
                std::abort();
            }
        } else if (inStall && last != stallFrom) {
            inStall = false;
        }
    }
}

}  // namespace soak

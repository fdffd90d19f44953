// Watchdog: a thread that watches the program's event loop. The loop beats (a timer posted
// through it, and the end of every tick); the thread notes where the loop was when a beat is
// later than the limit, and how long the stall lasted. A stall far beyond the limit ends the
// process with SIGABRT so that a hung run does not hang its caller too.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace soak {

struct Hang {
    std::string place;
    long long lastedMs = 0;
};

class Watchdog {
public:
    Watchdog(int limitMs, int abortAfterMs);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    void start();
    void stop();
    // From the watched thread: it is alive, now in place (a static string).
    void beat() { m_lastBeat = now(); }
    void setPlace(const char* place) { m_place = place; }

    std::vector<Hang> hangs() const;
    // The latest beat seen, in ms (sampled every 100 ms).
    long long longestLateMs() const { return m_longestLate; }

private:
    static long long now();
    void run();

    const int m_limitMs;
    const int m_abortAfterMs;
    std::atomic<long long> m_lastBeat{0};
    std::atomic<const char*> m_place{"start"};
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::vector<Hang> m_hangs;
    std::atomic<long long> m_longestLate{0};
    std::thread m_thread;
};

}  // namespace soak

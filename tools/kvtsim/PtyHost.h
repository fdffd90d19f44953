// PtyHost: runs a KvtSimulator on a pseudo-terminal in its own thread, so the program (or a
// test in the same process) talks to it through a real serial device. Optionally links the
// terminal as a stable path (/dev/tty.kvtsim). Replies go out at the line rate (11 bit times
// per byte at 57600 baud) unless instant; stray bytes and a dropped link can be injected.
#pragma once

#include "KvtSimulator.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace kvtsim {

struct HostOptions {
    QString linkPath;      // symlink to the terminal; empty for none
    bool instant = false;  // answer at once instead of at the line rate
    int strayEveryMs = 0;  // send a few stray bytes this often; 0 for never
    // Ask for real-time scheduling of the host thread, so that replies leave on time even on
    // a busy machine (a real KVT has no scheduler); a refusal is ignored.
    bool realtime = false;
};

class PtyHost {
public:
    explicit PtyHost(HostOptions options = {});
    ~PtyHost();
    PtyHost(const PtyHost&) = delete;
    PtyHost& operator=(const PtyHost&) = delete;

    // Opens the terminal, makes the link and starts the thread; false with a reason on failure.
    bool start(QString* error = nullptr);
    // Stops the thread, closes the terminal and removes the link. Safe to call twice.
    void stop();

    // The terminal's own path (/dev/pts/N) and the path to open (the link, if any).
    QString terminalPath() const;
    QString portPath() const;

    // Runs f on the simulator while the host thread is kept out.
    template <typename F>
    auto withSimulator(F&& f)
    {
        std::lock_guard lock(m_mutex);
        return f(m_sim);
    }

    void setInstant(bool instant) { m_instant = instant; }
    void setStrayEvery(int ms) { m_strayEveryMs = ms; }
    // Puts bytes on the line now, unasked.
    void injectStray(const QByteArray& bytes);
    // The link drops: the terminal disappears (the program's reads and writes fail). With
    // downMs >= 0 a new terminal comes back after that time under the same link path;
    // with -1 it stays away until reconnect().
    void dropLink(int downMs = -1);
    void reconnect();
    bool linkUp() const { return m_masterFd.load() >= 0; }

    // Bytes received from the program and sent to it so far.
    qint64 bytesReceived() const { return m_received; }
    qint64 bytesSent() const { return m_sent; }

private:
    using Clock = std::chrono::steady_clock;

    bool openTerminal(QString* error);
    void closeTerminal();
    void run();
    void wake();
    void schedule(const QByteArray& bytes, Clock::time_point now);
    void flushDue(Clock::time_point now);
    Clock::time_point nextWake(Clock::time_point now) const;
    qint64 elapsedMs() const;

    HostOptions m_options;
    KvtSimulator m_sim;
    mutable std::mutex m_mutex;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_instant{false};
    std::atomic<int> m_strayEveryMs{0};
    std::atomic<int> m_masterFd{-1};
    int m_slaveFd = -1;  // kept open so the master never sees a hang-up
    int m_wakeFd[2] = {-1, -1};
    QString m_terminalPath;
    Clock::time_point m_start;

    // Guarded by m_mutex: requests from other threads.
    QByteArray m_strayRequest;
    bool m_dropRequest = false;
    int m_dropDownMs = -1;
    bool m_reconnectRequest = false;

    // Host thread only.
    QByteArray m_pending;               // reply bytes not yet written
    Clock::time_point m_firstDue;       // when the first pending byte is complete on the line
    Clock::time_point m_reconnectAt{};  // zero: no reconnect planned
    bool m_reconnectPlanned = false;
    Clock::time_point m_nextStray{};
    std::atomic<qint64> m_received{0};
    std::atomic<qint64> m_sent{0};
};

}  // namespace kvtsim

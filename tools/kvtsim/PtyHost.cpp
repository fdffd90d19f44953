// The simulator's pseudo-terminal, its line-rate pacing and the link faults.
#include "PtyHost.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <random>
#include <sched.h>
#include <termios.h>
#include <unistd.h>

namespace kvtsim {

namespace {
// 1 start, 8 data, 2 stop bits at 57600 baud.
constexpr std::chrono::steady_clock::duration byteTime(11'000'000'000LL / 57600);

// Line time of n bytes.
std::chrono::steady_clock::duration lineTime(qsizetype n)
{
    return byteTime * static_cast<std::chrono::steady_clock::rep>(n);
}
// Bytes handed to the terminal together: about a millisecond of line time, so that the
// program wakes a few times per reply instead of once per byte.
constexpr int chunkBytes = 5;
// Beyond this a reader that never reads loses the oldest bytes instead of growing the queue.
constexpr int maxPending = 8192;
}  // namespace

PtyHost::PtyHost(HostOptions options) : m_options(std::move(options))
{
    m_instant = m_options.instant;
    m_strayEveryMs = m_options.strayEveryMs;
}

PtyHost::~PtyHost()
{
    stop();
}

QString PtyHost::terminalPath() const
{
    std::lock_guard lock(m_mutex);
    return m_terminalPath;
}

QString PtyHost::portPath() const
{
    return m_options.linkPath.isEmpty() ? terminalPath() : m_options.linkPath;
}

qint64 PtyHost::elapsedMs() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_start).count();
}

bool PtyHost::openTerminal(QString* error)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        if (error)
            *error =
                QStringLiteral("no pseudo-terminal: ") + QString::fromLocal8Bit(strerror(errno));
        if (master >= 0)
            ::close(master);
        return false;
    }
    char name[128] = {};
    if (::ptsname_r(master, name, sizeof name) != 0) {
        ::close(master);
        if (error)
            *error = QStringLiteral("ptsname failed");
        return false;
    }
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave < 0) {
        ::close(master);
        if (error)
            *error = QStringLiteral("cannot open ") + QString::fromLocal8Bit(name);
        return false;
    }
    // Raw from the start, so nothing is echoed before the program configures the line.
    termios tio{};
    if (::tcgetattr(slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B57600);
        ::cfsetospeed(&tio, B57600);
        ::tcsetattr(slave, TCSANOW, &tio);
    }
    {
        std::lock_guard lock(m_mutex);
        m_terminalPath = QString::fromLocal8Bit(name);
    }
    m_slaveFd = slave;
    m_masterFd = master;

    if (!m_options.linkPath.isEmpty()) {
        const QByteArray link = QFile::encodeName(m_options.linkPath);
        // Replace an old link of ours, never a real device or file.
        if (QFileInfo(m_options.linkPath).isSymLink())
            ::unlink(link.constData());
        if (::symlink(name, link.constData()) != 0) {
            if (error)
                *error = QStringLiteral("cannot link ") + m_options.linkPath +
                         QStringLiteral(": ") + QString::fromLocal8Bit(strerror(errno));
            closeTerminal();
            return false;
        }
    }
    return true;
}

void PtyHost::closeTerminal()
{
    const int master = m_masterFd.exchange(-1);
    if (master >= 0)
        ::close(master);
    if (m_slaveFd >= 0)
        ::close(m_slaveFd);
    m_slaveFd = -1;
    m_pending.clear();
    // An unplugged adapter's device is gone: the link goes with the terminal, so that a terminal
    // opened meanwhile by someone else (same /dev/pts number) is never taken for ours.
    if (!m_options.linkPath.isEmpty() && QFileInfo(m_options.linkPath).isSymLink())
        ::unlink(QFile::encodeName(m_options.linkPath).constData());
}

bool PtyHost::start(QString* error)
{
    if (m_thread.joinable())
        return true;
    m_start = Clock::now();
    if (::pipe2(m_wakeFd, O_NONBLOCK | O_CLOEXEC) != 0) {
        if (error)
            *error = QStringLiteral("pipe failed");
        return false;
    }
    if (!openTerminal(error)) {
        ::close(m_wakeFd[0]);
        ::close(m_wakeFd[1]);
        m_wakeFd[0] = m_wakeFd[1] = -1;
        return false;
    }
    m_stop = false;
    m_thread = std::thread([this] { run(); });
    return true;
}

void PtyHost::stop()
{
    if (m_thread.joinable()) {
        m_stop = true;
        wake();
        m_thread.join();
    }
    closeTerminal();
    if (!m_options.linkPath.isEmpty() && QFileInfo(m_options.linkPath).isSymLink())
        ::unlink(QFile::encodeName(m_options.linkPath).constData());
    for (int& fd : m_wakeFd) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void PtyHost::wake()
{
    if (m_wakeFd[1] >= 0) {
        const char c = 1;
        (void)::write(m_wakeFd[1], &c, 1);
    }
}

void PtyHost::injectStray(const QByteArray& bytes)
{
    {
        std::lock_guard lock(m_mutex);
        m_strayRequest += bytes;
    }
    wake();
}

void PtyHost::dropLink(int downMs)
{
    {
        std::lock_guard lock(m_mutex);
        m_dropRequest = true;
        m_dropDownMs = downMs;
    }
    wake();
}

void PtyHost::reconnect()
{
    {
        std::lock_guard lock(m_mutex);
        m_reconnectRequest = true;
    }
    wake();
}

void PtyHost::schedule(const QByteArray& bytes, Clock::time_point now)
{
    if (bytes.isEmpty())
        return;
    if (m_pending.isEmpty())
        m_firstDue = now + byteTime;
    m_pending += bytes;
    if (m_pending.size() > maxPending) {
        const qsizetype drop = m_pending.size() - maxPending;
        m_pending.remove(0, drop);
        m_firstDue += lineTime(drop);
    }
}

void PtyHost::flushDue(Clock::time_point now)
{
    const int master = m_masterFd;
    if (master < 0 || m_pending.isEmpty())
        return;
    qsizetype due = m_pending.size();
    if (!m_instant) {
        if (now < m_firstDue)
            return;
        due = std::min<qsizetype>(m_pending.size(), (now - m_firstDue) / byteTime + 1);
        // Wait for a whole chunk unless this is the end of the queue.
        if (due < std::min<qsizetype>(chunkBytes, m_pending.size()))
            return;
    }
    const ssize_t n = ::write(master, m_pending.constData(), size_t(due));
    if (n > 0) {
        m_pending.remove(0, n);
        m_firstDue += lineTime(n);
        m_sent += n;
    }
    if (m_instant)
        m_firstDue = now;
}

PtyHost::Clock::time_point PtyHost::nextWake(Clock::time_point now) const
{
    Clock::time_point next = now + std::chrono::milliseconds(500);
    if (!m_pending.isEmpty()) {
        if (m_instant)
            next = now + std::chrono::milliseconds(1);  // the terminal was full
        else {
            const qsizetype chunk = std::min<qsizetype>(chunkBytes, m_pending.size());
            next = std::min(next, std::max(now, m_firstDue + lineTime(chunk - 1)));
        }
    }
    if (m_reconnectPlanned)
        next = std::min(next, m_reconnectAt);
    if (m_strayEveryMs > 0 && m_masterFd >= 0)
        next = std::min(next, m_nextStray);
    return next;
}

void PtyHost::run()
{
    if (m_options.realtime) {
        sched_param param{};
        param.sched_priority = 10;
        (void)::pthread_setschedparam(::pthread_self(), SCHED_FIFO, &param);
    }
    std::mt19937 random(4711);
    m_nextStray = Clock::now() + std::chrono::milliseconds(std::max<int>(m_strayEveryMs, 1));
    char buffer[1024];
    while (!m_stop) {
        Clock::time_point now = Clock::now();
        const auto wait = std::chrono::duration_cast<std::chrono::nanoseconds>(nextWake(now) - now);
        timespec ts{time_t(wait.count() / 1'000'000'000), long(wait.count() % 1'000'000'000)};
        pollfd fds[2] = {{m_wakeFd[0], POLLIN, 0}, {m_masterFd, POLLIN, 0}};
        const int nfds = m_masterFd >= 0 ? 2 : 1;
        const int r = ::ppoll(fds, nfds_t(nfds), &ts, nullptr);
        if (m_stop)
            break;
        now = Clock::now();
        if (r > 0 && (fds[0].revents & POLLIN))
            while (::read(m_wakeFd[0], buffer, sizeof buffer) > 0) {
            }

        // Requests from other threads.
        QByteArray stray;
        bool drop = false;
        int downMs = -1;
        bool reconnectNow = false;
        {
            std::lock_guard lock(m_mutex);
            stray.swap(m_strayRequest);
            std::swap(drop, m_dropRequest);
            downMs = m_dropDownMs;
            std::swap(reconnectNow, m_reconnectRequest);
        }
        if (drop && m_masterFd >= 0) {
            closeTerminal();
            {
                std::lock_guard lock(m_mutex);
                m_sim.bootLoader().lineDropped();
            }
            m_reconnectPlanned = downMs >= 0;
            m_reconnectAt = now + std::chrono::milliseconds(std::max(downMs, 0));
        }
        if ((reconnectNow || (m_reconnectPlanned && now >= m_reconnectAt)) && m_masterFd < 0) {
            m_reconnectPlanned = false;
            openTerminal(nullptr);
        }
        if (m_masterFd < 0)
            continue;

        if (nfds == 2 && (fds[1].revents & POLLIN)) {
            const ssize_t n = ::read(m_masterFd, buffer, sizeof buffer);
            if (n > 0) {
                m_received += n;
                QByteArray reply;
                bool bootDrop = false;
                {
                    std::lock_guard lock(m_mutex);
                    reply = m_sim.receive(QByteArray(buffer, n), elapsedMs());
                    bootDrop = m_sim.bootLoader().takeDropRequest();
                }
                // A link dropped by the boot loader's fault stays away until reconnect().
                if (bootDrop) {
                    closeTerminal();
                    m_reconnectPlanned = false;
                    continue;
                }
                // The terminal hands over at once what a serial line delivers byte by byte:
                // the answer leaves only after the last received byte would have arrived.
                Clock::time_point arrived = now;
                if (!m_instant) {
                    m_inputDone = std::max(m_inputDone, now) + lineTime(n);
                    arrived = m_inputDone;
                }
                schedule(reply, arrived);
            }
        } else if (nfds == 2 && (fds[1].revents & (POLLHUP | POLLERR))) {
            // Cannot happen while our own slave descriptor is open; do not spin if it does.
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (!stray.isEmpty())
            schedule(stray, now);
        if (m_strayEveryMs > 0 && now >= m_nextStray) {
            QByteArray noise;
            const int count = 1 + int(random() % 3);
            for (int i = 0; i < count; ++i)
                noise.append(char(random() % 256));
            schedule(noise, now);
            m_nextStray = now + std::chrono::milliseconds(m_strayEveryMs.load());
        }
        flushDue(Clock::now());
    }
}

}  // namespace kvtsim

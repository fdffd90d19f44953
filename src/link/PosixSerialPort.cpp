// termios implementation of the serial port: raw 57600 8N2, no handshake, non-blocking.
#include "link/PosixSerialPort.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/serial.h>
#endif

namespace devlink {

PosixSerialPort::~PosixSerialPort()
{
    close();
}

PortFactory PosixSerialPort::factory()
{
    return [] { return std::make_unique<PosixSerialPort>(); };
}

bool PosixSerialPort::open(const QString& path, int bufferSize)
{
    // POSIX drivers size their own buffers; the requested length has no equivalent here.
    Q_UNUSED(bufferSize);
    close();
    const QByteArray native = path.toLocal8Bit();
    const int fd = ::open(native.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        m_openError = errno;
        return false;
    }

    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {  // not a terminal
        m_openError = errno;
        ::close(fd);
        return false;
    }
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~(PARENB | CSIZE | CRTSCTS);
    tio.c_cflag |= CS8 | CSTOPB | CLOCAL | CREAD;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | ISTRIP);
    tio.c_iflag |= IGNBRK;
    // VMIN 1 with O_NONBLOCK: a read without data fails with EAGAIN, so that a read of 0 bytes
    // means a hang-up (with VMIN 0 it would also mean "nothing there").
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, B57600);
    ::cfsetospeed(&tio, B57600);
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
        m_openError = errno;
        ::close(fd);
        return false;
    }
#ifdef __linux__
    // A USB adapter's latency timer would otherwise hold short replies back by up to 16 ms.
    // Drivers without the flag (pseudo-terminals among them) refuse; that costs nothing.
    serial_struct serial{};
    if (::ioctl(fd, TIOCGSERIAL, &serial) == 0) {
        serial.flags |= ASYNC_LOW_LATENCY;
        (void)::ioctl(fd, TIOCSSERIAL, &serial);
    }
#endif
    ::tcflush(fd, TCIFLUSH);
    m_openError = 0;
    m_fd = fd;
    m_failed = false;
    m_buffer.clear();
    m_readPos = 0;
    return true;
}

void PosixSerialPort::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_buffer.clear();
    m_readPos = 0;
}

void PosixSerialPort::markFailed()
{
    m_failed = true;
}

int PosixSerialPort::drain()
{
    if (m_fd < 0 || m_failed)
        return 0;
    int added = 0;
    char chunk[512];
    for (;;) {
        const ssize_t n = ::read(m_fd, chunk, sizeof chunk);
        if (n > 0) {
            if (m_readPos > 0 && m_readPos == m_buffer.size()) {
                m_buffer.clear();
                m_readPos = 0;
            }
            m_buffer.append(chunk, n);
            added += int(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        // 0 (hang-up) or a real error such as EIO: the device is gone.
        markFailed();
        break;
    }
    return added;
}

int PosixSerialPort::bytesWaiting()
{
    drain();
    return int(m_buffer.size() - m_readPos);
}

int PosixSerialPort::bytesToWrite()
{
    if (m_fd < 0 || m_failed)
        return 0;
    int pending = 0;
    if (::ioctl(m_fd, TIOCOUTQ, &pending) != 0)
        return 0;
    return pending;
}

int PosixSerialPort::read(quint8* buffer, int count)
{
    if (m_fd < 0 || count <= 0)
        return 0;
    if (m_buffer.size() - m_readPos < count)
        drain();
    const int n = int(qMin<qsizetype>(count, m_buffer.size() - m_readPos));
    for (int i = 0; i < n; ++i)
        buffer[i] = quint8(m_buffer.at(m_readPos + i));
    m_readPos += n;
    if (m_readPos == m_buffer.size()) {
        m_buffer.clear();
        m_readPos = 0;
    }
    return n;
}

int PosixSerialPort::write(const quint8* buffer, int count)
{
    if (m_fd < 0 || m_failed || count <= 0)
        return 0;
    int written = 0;
    while (written < count) {
        const ssize_t n = ::write(m_fd, buffer + written, size_t(count - written));
        if (n > 0) {
            written += int(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // Output buffer full: give the driver a moment, but never hang on a stuck line.
            pollfd p{m_fd, POLLOUT, 0};
            const int r = ::poll(&p, 1, 200);
            if (r > 0 && (p.revents & POLLOUT) && !(p.revents & (POLLERR | POLLHUP | POLLNVAL)))
                continue;
            if (r > 0)
                markFailed();
            break;
        }
        markFailed();
        break;
    }
    return written;
}

bool PosixSerialPort::waitForInput(int timeoutMs)
{
    if (m_fd < 0 || m_failed)
        return false;
    if (drain() > 0)
        return true;
    if (m_failed)
        return false;
    pollfd p{m_fd, POLLIN, 0};
    int r;
    do {
        r = ::poll(&p, 1, qMax(0, timeoutMs));
    } while (r < 0 && errno == EINTR);
    if (r <= 0)
        return false;
    if (p.revents & POLLIN) {
        if (drain() > 0)
            return true;
    }
    // Hang-up or error without data: the device went away (a poll that reports it would
    // otherwise return at once on every call and turn the wait into a spin).
    if (p.revents & (POLLHUP | POLLERR | POLLNVAL))
        markFailed();
    else if (!(p.revents & POLLIN))
        markFailed();
    return false;
}

}  // namespace devlink

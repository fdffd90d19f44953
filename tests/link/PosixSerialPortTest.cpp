// The termios port on a bare pseudo-terminal: line settings, the receive buffer, hang-up.
#include "link/PosixSerialPort.h"

#include <QFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A pseudo-terminal whose master side the test drives.
struct Pty {
    int master = -1;
    QString slavePath;
    Pty()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0)
            slavePath = QString::fromLocal8Bit(::ptsname(master));
    }
    ~Pty() { closeMaster(); }
    void closeMaster()
    {
        if (master >= 0)
            ::close(master);
        master = -1;
    }
    void send(const QByteArray& bytes) const
    {
        ASSERT_EQ(::write(master, bytes.constData(), size_t(bytes.size())), bytes.size());
    }
    QByteArray receive() const
    {
        char buf[256];
        const ssize_t n = ::read(master, buf, sizeof buf);
        return n > 0 ? QByteArray(buf, n) : QByteArray();
    }
};

TEST(PosixSerialPort, OpensRaw57600With2StopBitsAndNoHandshake)
{
    Pty pty;
    ASSERT_FALSE(pty.slavePath.isEmpty());
    devlink::PosixSerialPort port;
    ASSERT_TRUE(port.open(pty.slavePath, 254));
    const int fd = ::open(QFile::encodeName(pty.slavePath).constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    termios tio{};
    ASSERT_EQ(::tcgetattr(fd, &tio), 0);
    ::close(fd);
    EXPECT_EQ(::cfgetospeed(&tio), speed_t(B57600));
    EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_TRUE(tio.c_cflag & CSTOPB);
    EXPECT_FALSE(tio.c_cflag & PARENB);
    EXPECT_FALSE(tio.c_cflag & CRTSCTS);
    EXPECT_FALSE(tio.c_iflag & (IXON | IXOFF));
    EXPECT_FALSE(tio.c_lflag & (ICANON | ECHO));
}

TEST(PosixSerialPort, PendingInputIsDiscardedAtOpen)
{
    Pty pty;
    // Another descriptor keeps the terminal and its input queue alive until the open.
    const int other = ::open(QFile::encodeName(pty.slavePath).constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(other, 0);
    termios tio{};
    ::tcgetattr(other, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(other, TCSANOW, &tio);
    pty.send("stale");
    pollfd p{other, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 1000), 1);  // the bytes have reached the terminal
    devlink::PosixSerialPort port;
    ASSERT_TRUE(port.open(pty.slavePath, 254));
    EXPECT_EQ(port.bytesWaiting(), 0);
    ::close(other);
}

TEST(PosixSerialPort, ReadsWritesAndCountsWhatIsWaiting)
{
    Pty pty;
    devlink::PosixSerialPort port;
    ASSERT_TRUE(port.open(pty.slavePath, 254));
    const quint8 out[] = {'D'};
    EXPECT_EQ(port.write(out, 1), 1);
    EXPECT_EQ(port.bytesToWrite(), 0);
    pty.send("d1234");
    ASSERT_TRUE(port.waitForInput(1000) || port.bytesWaiting() == 5);
    EXPECT_EQ(port.bytesWaiting(), 5);
    quint8 in[8] = {};
    EXPECT_EQ(port.read(in, 1), 1);
    EXPECT_EQ(in[0], 'd');
    EXPECT_EQ(port.bytesWaiting(), 4);
    EXPECT_EQ(port.read(in, 8), 4);
    EXPECT_EQ(port.bytesWaiting(), 0);
    EXPECT_EQ(pty.receive(), QByteArray("D"));
}

TEST(PosixSerialPort, WaitReturnsAfterTheTimeoutWhenNothingComes)
{
    Pty pty;
    devlink::PosixSerialPort port;
    ASSERT_TRUE(port.open(pty.slavePath, 254));
    EXPECT_FALSE(port.waitForInput(20));
    EXPECT_FALSE(port.failed());
}

TEST(PosixSerialPort, ClosedPortDoesNothing)
{
    devlink::PosixSerialPort port;
    quint8 b = 'I';
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.write(&b, 1), 0);
    EXPECT_EQ(port.read(&b, 1), 0);
    EXPECT_EQ(port.bytesWaiting(), 0);
    EXPECT_FALSE(port.waitForInput(1000));
    EXPECT_FALSE(port.open(QStringLiteral("/nonexistent/tty.none"), 254));
}

TEST(PosixSerialPort, HangUpMarksThePortFailedWithoutBlocking)
{
    Pty pty;
    devlink::PosixSerialPort port;
    ASSERT_TRUE(port.open(pty.slavePath, 254));
    pty.closeMaster();
    EXPECT_FALSE(port.waitForInput(5000));
    EXPECT_TRUE(port.failed());
    // Once failed, every call returns at once.
    quint8 b = 'D';
    EXPECT_EQ(port.write(&b, 1), 0);
    EXPECT_FALSE(port.waitForInput(5000));
    EXPECT_EQ(port.bytesWaiting(), 0);
}

}  // namespace

// Hosting the simulator on a pseudo-terminal: the link path, dropping and restoring the link,
// console commands.
#include "ConsoleCommands.h"
#include "PtyHost.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <thread>
#include <unistd.h>

using namespace kvtsim;

namespace {

// Sends cmd on the terminal and collects up to want bytes within a second.
QByteArray exchange(const QString& path, const QByteArray& cmd, int want)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return {};
    (void)::write(fd, cmd.constData(), size_t(cmd.size()));
    QByteArray got;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (got.size() < want && std::chrono::steady_clock::now() < end) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) > 0 && (p.revents & POLLIN)) {
            char buf[1024];
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n > 0)
                got.append(buf, n);
        }
    }
    ::close(fd);
    return got;
}

TEST(PtyHost, AnswersOnItsLinkAndRemovesTheLinkWhenStopped)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("tty.kvtsim"));
    {
        PtyHost host({link, false, 0});
        ASSERT_TRUE(host.start());
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_EQ(QFileInfo(link).symLinkTarget(), host.terminalPath());
        EXPECT_EQ(host.portPath(), link);
        EXPECT_EQ(exchange(link, "I", 24).size(), 24);
        host.stop();
        EXPECT_FALSE(QFileInfo::exists(link));
    }
}

TEST(PtyHost, NeverReplacesAFileThatIsNoLink)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tty.real"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("keep");
    f.close();
    PtyHost host({path, true, 0});
    QString error;
    EXPECT_FALSE(host.start(&error));
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("keep"));
}

TEST(PtyHost, DroppedLinkComesBackUnderTheSamePath)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("tty.kvtsim"));
    PtyHost host({link, true, 0});
    ASSERT_TRUE(host.start());
    host.dropLink(100);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (host.linkUp() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_FALSE(host.linkUp());
    while (!host.linkUp() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_TRUE(host.linkUp());
    EXPECT_EQ(exchange(link, "D", 45).size(), 45);
}

TEST(PtyHost, StrayBytesReachTheLine)
{
    PtyHost host({QString(), true, 0});
    ASSERT_TRUE(host.start());
    const QString path = host.terminalPath();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    host.injectStray("xyz");
    QByteArray got;
    for (int i = 0; i < 100 && got.size() < 3; ++i) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 10) > 0) {
            char buf[16];
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n > 0)
                got.append(buf, n);
        }
    }
    ::close(fd);
    EXPECT_EQ(got, QByteArray("xyz"));
}

struct FaultText {
    const char* text;
    bool valid;
    Fault fault;
    char letter;
    int count;
};

class ParseFaultTest : public ::testing::TestWithParam<FaultText> {};

TEST_P(ParseFaultTest, Parses)
{
    FaultPlan plan;
    const FaultText& c = GetParam();
    ASSERT_EQ(parseFault(QString::fromLatin1(c.text), &plan), c.valid);
    if (!c.valid)
        return;
    EXPECT_EQ(plan.fault, c.fault);
    EXPECT_EQ(plan.onlyFor, c.letter);
    EXPECT_EQ(plan.count, c.count);
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseFaultTest,
                         ::testing::Values(FaultText{"silence", true, Fault::Silence, 0, -1},
                                           FaultText{"wrong:d", true, Fault::WrongLetter, 'D', -1},
                                           FaultText{"short:I:3", true, Fault::ShortReply, 'I', 3},
                                           FaultText{"long::2", true, Fault::LongReply, 0, 2},
                                           FaultText{"alter17:L", true, Fault::AlteredByte, 'L', -1},
                                           FaultText{"alter0", false, Fault::None, 0, -1},
                                           FaultText{"ok", true, Fault::None, 0, -1},
                                           FaultText{"loud", false, Fault::None, 0, -1},
                                           FaultText{"wrong:S", false, Fault::None, 0, -1},
                                           FaultText{"short:I:0", false, Fault::None, 0, -1}));

TEST(ConsoleCommands, SteerTheSimulator)
{
    PtyHost host({QString(), true, 0});
    ASSERT_TRUE(host.start());
    bool quit = false;
    runConsoleCommand(host, QStringLiteral("silence D 2"), &quit);
    host.withSimulator([](KvtSimulator& s) {
        EXPECT_EQ(s.fault().fault, Fault::Silence);
        EXPECT_EQ(s.fault().onlyFor, 'D');
        EXPECT_EQ(s.fault().count, 2);
    });
    runConsoleCommand(host, QStringLiteral("emergency on"), &quit);
    host.withSimulator([](KvtSimulator& s) { EXPECT_TRUE(s.emergency()); });
    EXPECT_TRUE(
        runConsoleCommand(host, QStringLiteral("status"), &quit).contains(host.terminalPath()));
    EXPECT_TRUE(runConsoleCommand(host, QStringLiteral("frobnicate"), &quit)
                    .startsWith(QStringLiteral("unknown")));
    EXPECT_FALSE(quit);
    runConsoleCommand(host, QStringLiteral("quit"), &quit);
    EXPECT_TRUE(quit);
}

}  // namespace

// The port list: name patterns, directories skipped, only openable devices listed.
#include "link/PortDetails.h"
#include "link/PortList.h"
#include "link/PosixSerialPort.h"
#include "support/FakeSerialPort.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Ports that open only for paths not containing "busy" (EBUSY) and not ending in "ttyUSB9"
// (EACCES); remembers the paths tried.
class PickyPort final : public devlink::SerialPort {
public:
    explicit PickyPort(QStringList* tried) : m_tried(tried) {}
    bool open(const QString& path, int bufferSize) override
    {
        *m_tried << path;
        EXPECT_EQ(bufferSize, 1024);
        const bool refused = path.endsWith(QStringLiteral("ttyUSB9"));
        m_open = !path.contains(QStringLiteral("busy")) && !refused;
        m_error = m_open ? 0 : refused ? EACCES : EBUSY;
        return m_open;
    }
    int openError() const override { return m_error; }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    int bytesWaiting() override { return 0; }
    int bytesToWrite() override { return 0; }
    int read(quint8*, int) override { return 0; }
    int write(const quint8*, int) override { return 0; }
    bool waitForInput(int) override { return false; }
    bool failed() const override { return false; }

private:
    QStringList* m_tried;
    bool m_open = false;
    int m_error = 0;
};

TEST(PortList, ListsMatchingOpenableEntriesInNameOrder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"tty.usbserial", "tty.busy", "tty.Bluetooth", "ttyS0", "tty0",
                             "cu.usbserial", "ttyUSB0", "ttyACM1"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("tty.folder")));
    QStringList tried;
    const QStringList ports =
        devlink::refreshPortList([&] { return std::make_unique<PickyPort>(&tried); }, dir.path());
    const QString base = dir.path() + QLatin1Char('/');
    QStringList expected{base + QStringLiteral("tty.Bluetooth"),
                         base + QStringLiteral("tty.usbserial")};
#ifdef __linux__
    expected << base + QStringLiteral("ttyACM1") << base + QStringLiteral("ttyUSB0");
#endif
    expected.sort();
    QStringList sorted = ports;
    sorted.sort();
    EXPECT_EQ(sorted, expected);
    EXPECT_TRUE(tried.contains(base + QStringLiteral("tty.busy")));
    EXPECT_FALSE(tried.contains(base + QStringLiteral("tty.folder")));
    EXPECT_FALSE(tried.contains(base + QStringLiteral("ttyS0")));
}

#ifdef __linux__
TEST(PortList, ScanCountsCandidatesAndNamesThoseRefusedForLackOfPermission)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"ttyUSB0", "ttyUSB9", "tty.busy", "ttyS1"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QStringList tried;
    const devlink::PortScan scan =
        devlink::scanPorts([&] { return std::make_unique<PickyPort>(&tried); }, dir.path());
    const QString base = dir.path() + QLatin1Char('/');
    EXPECT_EQ(scan.ports, QStringList{base + QStringLiteral("ttyUSB0")});
    EXPECT_EQ(scan.refused, QStringList{base + QStringLiteral("ttyUSB9")});
    EXPECT_EQ(scan.candidates, 3);
}
#endif

TEST(PortList, PortInUseIsListedWithoutATestOpen)
{
    QTemporaryDir dir;
    for (const char* name : {"tty.kvt", "tty.other"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString inUse = dir.path() + QStringLiteral("/tty.kvt");
    QStringList tried;
    const QStringList ports = devlink::refreshPortList(
        [&] { return std::make_unique<PickyPort>(&tried); }, dir.path(), inUse);
    EXPECT_EQ(ports, (QStringList{inUse, dir.path() + QStringLiteral("/tty.other")}));
    EXPECT_EQ(tried, QStringList{dir.path() + QStringLiteral("/tty.other")});
}

TEST(PortList, MissingDirectoryGivesAnEmptyList)
{
    QStringList tried;
    EXPECT_TRUE(devlink::refreshPortList([&] { return std::make_unique<PickyPort>(&tried); },
                                         QStringLiteral("/nonexistent-dir-for-ports/"))
                    .isEmpty());
    EXPECT_TRUE(tried.isEmpty());
}

TEST(PortList, PosixPortRefusesFilesThatAreNoTerminals)
{
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("tty.plainfile")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_TRUE(
        devlink::refreshPortList(devlink::PosixSerialPort::factory(), dir.path()).isEmpty());
}

TEST(PortDetails, LineLeavesOutWhatIsUnknownOrRepeated)
{
    const struct {
        const char *description, *maker, *serial, *line;
    } cases[] = {
        {"FT232R USB UART", "FTDI", "A10K3", "FT232R USB UART, FTDI, Seriennummer A10K3"},
        {"", "Prolific", "", "Prolific"},
        {"CP2102", "CP2102", " 0001 ", "CP2102, Seriennummer 0001"},
        {" ", "", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(
            devlink::formatPortDetails(QString::fromUtf8(c.description), QString::fromUtf8(c.maker),
                                       QString::fromUtf8(c.serial)),
            QString::fromUtf8(c.line))
            << c.description << "/" << c.maker;
    // A pseudo-terminal is no adapter: nothing to tell, one line for each path.
    EXPECT_EQ(devlink::portDetails({QStringLiteral("/nonexistent-dir-for-ports/tty.kvt"),
                                     QStringLiteral("/nonexistent-dir-for-ports/ttyUSB9")}),
              QStringList({QString(), QString()}));
}

}  // namespace

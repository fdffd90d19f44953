// bench_firmware: sends a firmware image of 1025 blocks to the simulator's boot loader on a
// pseudo-terminal at the line rate, with the real serial code, the way the program does: a
// step at every COM-timer tick (re-armed after every event) and a step as soon as a byte from
// the boot loader is waiting. It reports the time from the click on "update KVT" to "update
// erfolgreich" beside the line time of the frames, and, for comparison, the rate of one frame
// per tick (steps from the timer only).
#include "PtyHost.h"
#include "app/core/Dialogs.h"
#include "app/core/MessageLog.h"
#include "unattended/UnattendedDialogs.h"
#include "firmware/FirmwareUpdate.h"
#include "link/LinkClock.h"
#include "link/PosixSerialPort.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>
#include <thread>

namespace {

// 1025 frames of 132 bytes, 11 bits each at 57600 baud.
double lineSeconds(int blocks)
{
    return blocks * 132.0 * 11.0 / 57600.0;
}

class PortLine final : public firmware::BootLine {
public:
    PortLine(devlink::SerialPort& port, devlink::LinkClock& clock) : m_port(port), m_clock(clock) {}
    bool portOpen() const override { return m_port.isOpen(); }
    bool identified() const override { return true; }
    bool failed() const override { return m_port.failed(); }
    void setFirmwareBusy(bool) override {}
    void forgetIdentification() override {}
    void sendBootCommand() override
    {
        write("U");
        m_clock.sleepMs(200);
    }
    void write(const QByteArray& bytes) override
    {
        m_port.write(reinterpret_cast<const quint8*>(bytes.constData()), int(bytes.size()));
    }
    int bytesWaiting() override { return m_port.bytesWaiting(); }
    int bytesToWrite() override { return m_port.bytesToWrite(); }
    std::optional<quint8> readByte() override
    {
        quint8 b = 0;
        return m_port.read(&b, 1) == 1 ? std::optional<quint8>(b) : std::nullopt;
    }
    void discardInput() override
    {
        quint8 buffer[256];
        while (m_port.read(buffer, sizeof buffer) > 0) {
        }
    }
    void pause(int ms) override { m_clock.sleepMs(ms); }
    qint64 nowMs() const override { return m_clock.nowMs(); }

private:
    devlink::SerialPort& m_port;
    devlink::LinkClock& m_clock;
};

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

struct Result {
    double seconds = 0;
    double cpuSeconds = 0;
    bool complete = false;
    int refused = 0;
};

Result run(const QString& file, int blocks, int periodMs, bool byteSteps)
{
    kvtsim::PtyHost host({QString(), false, 0, qEnvironmentVariableIsEmpty("BENCH_NO_RT")});
    QString error;
    if (!host.start(&error)) {
        std::fprintf(stderr, "bench_firmware: %s\n", qPrintable(error));
        std::exit(1);
    }
    auto port = devlink::PosixSerialPort::factory()();
    if (!port->open(host.terminalPath(), 254)) {
        std::fprintf(stderr, "bench_firmware: cannot open %s\n", qPrintable(host.terminalPath()));
        std::exit(1);
    }
    devlink::LinkClock& clock = devlink::systemClock();
    PortLine line(*port, clock);
    app::UnattendedDialogs dialogs;
    dialogs.answer = true;
    dialogs.openPath = file;
    app::MessageLog log;
    firmware::FirmwareUpdate update(dialogs, log, line);
    update.choose();

    const double cpuStart = cpuSeconds();
    const qint64 start = clock.nowMs();
    update.updateClicked();
    // A guard against a stuck transfer: four times the slowest expected time.
    const qint64 deadline = start + qint64(4 * blocks * (periodMs + 30) + 10000);
    qint64 nextTick = clock.nowMs() + periodMs;
    while (update.busy() && clock.nowMs() < deadline) {
        if (byteSteps && line.bytesWaiting() > 0) {
            update.byteWaiting();
            nextTick = clock.nowMs() + periodMs;  // the main loop re-arms timer 1 after events
            continue;
        }
        const qint64 now = clock.nowMs();
        if (now >= nextTick) {
            update.step();
            nextTick = clock.nowMs() + periodMs;
            continue;
        }
        if (byteSteps)
            port->waitForInput(int(nextTick - now));
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(nextTick - now));
    }
    Result r;
    r.seconds = (clock.nowMs() - start) / 1000.0;
    r.cpuSeconds = cpuSeconds() - cpuStart;
    r.complete = log.statusText() == QStringLiteral("update erfolgreich");
    host.withSimulator([&](kvtsim::KvtSimulator& sim) {
        r.refused = sim.bootLoader().framesRefused();
        if (sim.bootLoader().framesAccepted() != blocks && r.complete)
            r.complete = false;
        return 0;
    });
    port->close();
    host.stop();
    return r;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int blocks = 1025;
    int tickBlocks = 100;
    for (int i = 1; i + 1 < argc; ++i) {
        if (QByteArray(argv[i]) == "--blocks")
            blocks = qBound(1, atoi(argv[++i]), 1025);
        else if (QByteArray(argv[i]) == "--tick-blocks")
            tickBlocks = qBound(1, atoi(argv[++i]), 1025);
    }
    QTemporaryDir dir;
    // A binary of blocks × 128 − 1 bytes decodes to exactly that many blocks.
    auto writeImage = [&](int count) {
        const QString path = dir.filePath(QStringLiteral("fw%1.bin").arg(count));
        QByteArray data(count * 128 - 1, '\0');
        for (int i = 0; i < data.size(); ++i)
            data[i] = char((i * 131 + i / 7) & 0xFF);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(data);
        return path;
    };
    const QString full = writeImage(blocks);
    const QString part = writeImage(tickBlocks);

    std::printf("%-26s %6s %7s %9s %9s %7s %6s %8s\n", "mode", "timer", "blocks", "time s",
                "line s", "ratio", "CPU s", "result");
    auto report = [](const char* mode, int period, int n, const Result& r) {
        std::printf("%-26s %4d ms %7d %9.2f %9.2f %7.3f %6.2f %8s\n", mode, period, n, r.seconds,
                    lineSeconds(n), r.seconds / lineSeconds(n), r.cpuSeconds,
                    r.complete ? (r.refused ? "NAKs" : "ok") : "FAILED");
        std::fflush(stdout);
    };
    bool allMet = true;
    for (int period : {5, 100, 500}) {
        const Result r = run(full, blocks, period, true);
        report("tick + byte waiting", period, blocks, r);
        allMet = allMet && r.complete && r.seconds <= 1.25 * lineSeconds(blocks);
    }
    for (int period : {5, 100}) {
        const Result r = run(part, tickBlocks, period, false);
        report("one frame per tick", period, tickBlocks, r);
        std::printf("%-26s %4d ms %7d %9.2f  (extrapolated from %d blocks)\n",
                    "  ... for a full image", period, 1025, r.seconds * 1025 / tickBlocks,
                    tickBlocks);
    }
    std::printf("target: tick + byte waiting <= 1.25 x line time at every timer period: %s\n",
                allMet ? "met" : "NOT met");
    return allMet ? 0 : 1;
}

// bench_map_block: a block of 17 x 9 injection cells sent live to the simulator on a
// pseudo-terminal at the line rate, through the program's own link, editor and cell sender,
// the way the window does it: one cell per event of the event loop. It reports the time from
// the operation until the KVT has the last byte, against the line limit of the 153 "K"
// commands (each the letter, the 20 ms pause and four bytes of 11 bits at 57600 baud), the
// same cells sent in one blocking loop as the peer, and how long the event loop went without
// turning while the block went out (the window's longest wait).
#include "PtyHost.h"
#include "app/core/MessageLog.h"
#include "link/DeviceLink.h"
#include "link/PosixSerialPort.h"
#include "maps/BlockEditor.h"
#include "maps/LinkAdapters.h"
#include "setup/SetupBlock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int cells = 17 * 9;

double lineLimitSeconds()
{
    return cells * (0.020 + 5 * 11.0 / 57600.0);
}

// The 20 ms pauses alone: the bytes of one command leave the line during the next one's pause.
double pauseSeconds()
{
    return cells * 0.020;
}

class BenchView final : public devlink::LinkView {
public:
    explicit BenchView(QString path) : m_path(std::move(path)) {}
    bool comTicked() const override { return true; }
    QString selectedPortText() const override { return m_path; }

private:
    QString m_path;
};

struct Result {
    double seconds = 0;
    double longestWaitMs = 0;
    bool arrived = false;
};

Result run(bool blockingPeer, int round)
{
    kvtsim::PtyHost host({QString(), false, 0, qEnvironmentVariableIsEmpty("BENCH_NO_RT")});
    QString error;
    if (!host.start(&error)) {
        std::fprintf(stderr, "bench_map_block: %s\n", qPrintable(error));
        std::exit(1);
    }
    app::MessageLog log;
    BenchView view(host.terminalPath());
    devlink::DeviceLink link(log, devlink::PosixSerialPort::factory());
    link.setView(&view);
    link.connectStep();
    if (!link.identified()) {
        std::fprintf(stderr, "bench_map_block: the simulator was not identified\n");
        std::exit(1);
    }
    setup::SetupRecord record;
    maps::DeviceCellLink cellLink(link);
    maps::MapEditor editor(record, cellLink, log);
    maps::BlockEditor blocks(editor, record);
    editor.select(maps::EditMode::InjectionMap);
    for (int i = 0; i < 16; ++i)
        blocks.extendSelection(maps::Arrow::Right);
    for (int i = 0; i < 8; ++i)
        blocks.extendSelection(maps::Arrow::Up);
    const int value = 1000 + round;

    Result r;
    QElapsedTimer clock;
    const qint64 receivedBefore = host.bytesReceived();
    // Until the KVT has the last byte of the last command: each is the letter and four bytes.
    const auto waitForArrival = [&] {
        QElapsedTimer limit;
        limit.start();
        while (host.bytesReceived() < receivedBefore + cells * 5 && limit.elapsed() < 2000)
            QThread::usleep(200);
        r.seconds = clock.nsecsElapsed() / 1e9;
    };
    if (blockingPeer) {
        // The peer: every cell straight after the other, the event loop never turns.
        clock.start();
        for (int t = 0; t < 9; ++t)
            for (int s = 0; s < 17; ++s)
                cellLink.sendPaused('K', maps::cellCommand(maps::View::Injection, {s, t}, value,
                                                           true)
                                             .bytes);
        r.longestWaitMs = clock.elapsed();
        waitForArrival();
    } else {
        // A timer that should fire every millisecond measures how long the loop was held.
        QTimer probe;
        qint64 last = 0;
        probe.setTimerType(Qt::PreciseTimer);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            const qint64 now = clock.elapsed();
            r.longestWaitMs = std::max<double>(r.longestWaitMs, double(now - last));
            last = now;
        });
        clock.start();
        blocks.apply(maps::BlockOp::Set, value);
        probe.start(1);
        while (editor.sender().busy())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        waitForArrival();
    }
    // The line needs a moment for the last bytes; then the KVT must hold every cell.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 2000 && !r.arrived) {
        const QByteArray setupBytes =
            host.withSimulator([](kvtsim::KvtSimulator& sim) { return sim.setup(); });
        const setup::SetupRecord inKvt = setup::decodeSetupBlock(setupBytes);
        r.arrived = std::all_of(inKvt.injectionMap.begin(), inKvt.injectionMap.end(),
                                [&](quint16 v) { return v == value; });
        if (!r.arrived)
            QThread::msleep(20);
    }
    link.setView(nullptr);
    link.closePort();
    host.stop();
    return r;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int rounds = 3;
    for (int i = 1; i + 1 < argc; ++i)
        if (QByteArray(argv[i]) == "--rounds")
            rounds = qBound(1, atoi(argv[++i]), 20);
    std::printf("%-28s %5s %8s %8s %7s %8s %7s %12s %5s\n", "mode", "cells", "time s", "line s",
                "ratio", "pauses s", "ratio", "longest wait", "KVT");
    bool met = true;
    for (int round = 0; round < rounds; ++round) {
        for (bool peer : {false, true}) {
            const Result r = run(peer, round * 2 + int(peer));
            const double ratio = r.seconds / lineLimitSeconds();
            std::printf("%-28s %5d %8.3f %8.3f %7.3f %8.3f %7.3f %9.1f ms %5s\n",
                        peer ? "blocking loop (peer)" : "cell sender, one per event", cells,
                        r.seconds, lineLimitSeconds(), ratio, pauseSeconds(),
                        r.seconds / pauseSeconds(), r.longestWaitMs,
                        r.arrived ? "all" : "MISSING");
            std::fflush(stdout);
            if (!peer)
                met = met && r.arrived && ratio <= 1.10 && r.longestWaitMs <= 60;
        }
    }
    std::printf("target: cell sender <= 1.10 x the line limit, event loop never held > 60 ms, "
                "every cell in the KVT: %s\n",
                met ? "met" : "NOT met");
    return met ? 0 : 1;
}

// bench_link: runs the real link from the program's own main loop (timer 1 armed with its full
// period once each event has ended) against the simulator on a pseudo-terminal and reports polls
// per second beside the limit 1 / (period + line time of the "D" request and its reply), and the
// CPU use of the program's thread. A last run with a silent KVT shows how often "I" is repeated.
#include "PtyHost.h"
#include "app/core/Dialogs.h"
#include "app/MainLoop.h"
#include "app/core/MessageLog.h"
#include "app/core/ProgramSettings.h"
#include "unattended/UnattendedDialogs.h"
#include "link/DeviceLink.h"
#include "link/PosixSerialPort.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <sys/prctl.h>

namespace {

struct CountingView final : devlink::LinkView {
    QString port;
    int polls = 0;  // counted by a subscription to the link's live records
    bool comTicked() const override { return true; }
    QString selectedPortText() const override { return port; }
};

// The loop never shows a dialog here.
using NoDialogs = app::UnattendedDialogs;

// 57600 baud, 11 bit times per byte.
constexpr double byteMs = 11 * 1000.0 / 57600;

double threadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

struct Result {
    double tickMs = 0;      // mean time spent in one tick of timer 1
    double latenessMs = 0;  // mean time from the end of a tick to the next, beyond the period
    double pollsPerSecond = 0;
    double identificationsPerSecond = 0;
    double limit = 0;
    double cpuPercent = 0;
    int errors = 0;
};

// One run: identify, then let the main loop tick for seconds.
Result run(int periodMs, bool instant, bool silent, double seconds)
{
    kvtsim::PtyHost host({QString(), instant, 0, qEnvironmentVariableIsEmpty("BENCH_NO_RT")});
    QString error;
    if (!host.start(&error)) {
        std::fprintf(stderr, "bench_link: %s\n", qPrintable(error));
        std::exit(1);
    }
    app::MessageLog log;
    int errors = 0;
    log.setStatusSink([&](const QString& text) {
        if (text.contains(QStringLiteral("Fehler")) || text.contains(QStringLiteral("zu lange")))
            ++errors;
    });
    app::ProgramSettings settings;
    CountingView view;
    view.port = host.terminalPath();
    devlink::DeviceLink link(log, devlink::PosixSerialPort::factory());
    link.setView(&view);
    link.feed().onLiveRecord([&view](const devlink::LiveRecord&) { ++view.polls; });
    link.connectStep();  // opens and identifies
    if (!link.identified()) {
        std::fprintf(stderr, "bench_link: the simulator was not identified\n");
        std::exit(1);
    }
    if (silent)
        host.withSimulator([](kvtsim::KvtSimulator& s) {
            s.setFault({kvtsim::Fault::Silence, 0, -1});
        });
    const auto identifications = [&] {
        return host.withSimulator(
            [](kvtsim::KvtSimulator& s) { return s.commandLog().count('I'); });
    };

    NoDialogs dialogs;
    app::MainLoop loop(dialogs);
    QElapsedTimer wall;
    QElapsedTimer sinceEnd;
    double cpuStart = 0;
    int pollsAtStart = 0;
    qsizetype identificationsAtStart = 0;
    bool measuring = false;
    qint64 tickNs = 0;
    qint64 gapNs = 0;
    int ticks = 0;
    QElapsedTimer tick;
    app::TickHooks& hooks = loop.hooks();
    hooks.connectStep = [&] {
        tick.start();
        link.connectStep();
    };
    hooks.identified = [&] { return link.identified(); };
    hooks.comTicked = [] { return true; };
    hooks.pollCycle = [&] {
        link.pollCycle();
        if (!measuring) {  // the first tick of timer 1 starts the measurement
            measuring = true;
            wall.start();
            cpuStart = threadCpuSeconds();
            pollsAtStart = view.polls;
            identificationsAtStart = identifications();
        } else {
            tickNs += tick.nsecsElapsed();
            gapNs += sinceEnd.nsecsElapsed() - tick.nsecsElapsed() - qint64(periodMs) * 1000000;
            ++ticks;
        }
        sinceEnd.start();
        if (wall.elapsed() >= seconds * 1000)
            QCoreApplication::exit(0);
    };
    loop.start(periodMs, int(settings.loggerPeriod));
    QCoreApplication::exec();
    loop.stop();

    Result r;
    const double elapsed = wall.nsecsElapsed() / 1e9;
    r.pollsPerSecond = (view.polls - pollsAtStart) / elapsed;
    r.identificationsPerSecond = (identifications() - identificationsAtStart) / elapsed;
    // The request letter and the 45-byte reply on the line, or the 200 ms wait of a silent KVT.
    const double lineMs = silent ? byteMs + 200 : instant ? 0.0 : (1 + 45) * byteMs;
    r.limit = 1000.0 / (periodMs + lineMs);
    r.cpuPercent = (threadCpuSeconds() - cpuStart) / elapsed * 100;
    r.errors = errors;
    r.tickMs = ticks ? tickNs / 1e6 / ticks : 0;
    r.latenessMs = ticks ? gapNs / 1e6 / ticks : 0;
    host.stop();
    return r;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // --tight-timers: the program's thread asks the kernel for timer wake-ups without the
    // default 50 µs slack, as the main loop may do at start-up.
    if (QCoreApplication::arguments().contains(QStringLiteral("--tight-timers")))
        ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    double seconds = 10;
    const QStringList args = app.arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--seconds"));
    if (at >= 0 && at + 1 < args.size())
        seconds = qMax(1.0, args.at(at + 1).toDouble());

    std::printf("bench_link: %.0f s per run\n", seconds);
    std::printf("%-34s %9s %9s %7s %7s %7s %8s %6s\n", "run", "per s", "limit", "share", "cpu",
                "tick ms", "late ms", "errors");
    const struct {
        const char* name;
        int period;
        bool instant;
        bool silent;
        bool cpuTarget;
    } runs[] = {{"COM-Timer 5 ms, instant replies", 5, true, false, false},
                {"COM-Timer 5 ms, line rate", 5, false, false, false},
                {"COM-Timer 100 ms, line rate", 100, false, false, true},
                {"COM-Timer 100 ms, silent KVT (I)", 100, false, true, false}};
    bool ok = true;
    for (const auto& entry : runs) {
        const Result r = run(entry.period, entry.instant, entry.silent, seconds);
        const double rate = entry.silent ? r.identificationsPerSecond : r.pollsPerSecond;
        const double share = rate / r.limit * 100;
        std::printf("%-34s %9.1f %9.1f %6.1f%% %6.2f%% %7.2f %8.2f %6s\n", entry.name, rate,
                    r.limit, share, r.cpuPercent, r.tickMs, r.latenessMs,
                    entry.silent ? "-" : qPrintable(QString::number(r.errors)));
        std::fflush(stdout);
        // "I" must never come faster than the limit; the polls at the line rate should come
        // close to it (instant replies only show what the loop costs).
        if (entry.silent ? share > 101 : (r.errors > 0 || (!entry.instant && share < 95)))
            ok = false;
        if (entry.cpuTarget && r.cpuPercent >= 2)
            ok = false;
    }
    std::printf(
        "targets (polls at the line rate >= 95 %% of the limit, \"I\" never above it, "
        "< 2 %% CPU at 100 ms, no errors): %s\n",
        ok ? "met" : "NOT met");
    return ok ? 0 : 1;
}

// bench_link: runs the real link (connectStep and pollCycle from a re-armed timer, as the
// main loop does) against the simulator on a pseudo-terminal and reports polls per second
// beside the limit (timer period + the reply's line time), and the CPU use of the program's
// thread at the default 100 ms period.
#include "PtyHost.h"
#include "app/MessageLog.h"
#include "app/ProgramSettings.h"
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

double threadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

struct Result {
    double tickMs = 0;      // mean time spent in one tick
    double latenessMs = 0;  // mean delay of the timer beyond its period
    double pollsPerSecond = 0;
    double limit = 0;
    double cpuPercent = 0;
    int errors = 0;
};

// One run: identify, then poll for seconds with the timer re-armed after every tick.
Result run(int periodMs, bool instant, double seconds)
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
    devlink::DeviceLink link(log, settings, devlink::PosixSerialPort::factory());
    link.setView(&view);
    link.feed().onLiveRecord([&view](const devlink::LiveRecord&) { ++view.polls; });
    link.connectStep();  // opens and identifies
    if (!link.identified()) {
        std::fprintf(stderr, "bench_link: the simulator was not identified\n");
        std::exit(1);
    }

    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    QElapsedTimer wall;
    double cpuStart = 0;
    int pollsAtStart = 0;
    bool measuring = false;
    QElapsedTimer armed;
    qint64 tickNs = 0;
    qint64 lateNs = 0;
    int ticks = 0;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const qint64 fired = armed.nsecsElapsed();
        QElapsedTimer tick;
        tick.start();
        link.connectStep();
        link.pollCycle();
        if (!measuring) {  // the first tick starts the measurement
            measuring = true;
            wall.start();
            cpuStart = threadCpuSeconds();
            pollsAtStart = view.polls;
        } else {
            tickNs += tick.nsecsElapsed();
            lateNs += fired - qint64(periodMs) * 1000000;
            ++ticks;
        }
        if (wall.elapsed() >= seconds * 1000) {
            QCoreApplication::exit(0);
            return;
        }
        timer.start(periodMs);
        armed.start();
    });
    armed.start();
    timer.start(periodMs);
    QCoreApplication::exec();

    Result r;
    const double elapsed = wall.nsecsElapsed() / 1e9;
    r.pollsPerSecond = (view.polls - pollsAtStart) / elapsed;
    const double lineMs = instant ? 0.0 : 45 * 11 * 1000.0 / 57600;
    r.limit = 1000.0 / (periodMs + lineMs);
    r.cpuPercent = (threadCpuSeconds() - cpuStart) / elapsed * 100;
    r.errors = errors;
    r.tickMs = ticks ? tickNs / 1e6 / ticks : 0;
    r.latenessMs = ticks ? lateNs / 1e6 / ticks : 0;
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
    std::printf("%-34s %9s %9s %7s %7s %7s %8s %6s\n", "run", "polls/s", "limit", "share", "cpu",
                "tick ms", "late ms", "errors");
    const struct {
        const char* name;
        int period;
        bool instant;
        bool cpuTarget;
    } runs[] = {{"COM-Timer 5 ms, instant replies", 5, true, false},
                {"COM-Timer 5 ms, line rate", 5, false, false},
                {"COM-Timer 100 ms, line rate", 100, false, true}};
    bool ok = true;
    for (const auto& entry : runs) {
        const Result r = run(entry.period, entry.instant, seconds);
        const double share = r.pollsPerSecond / r.limit * 100;
        std::printf("%-34s %9.1f %9.1f %6.1f%% %6.2f%% %7.2f %8.2f %6d\n", entry.name,
                    r.pollsPerSecond, r.limit, share, r.cpuPercent, r.tickMs, r.latenessMs,
                    r.errors);
        std::fflush(stdout);
        if (share < 95 || r.errors > 0 || (entry.cpuTarget && r.cpuPercent >= 2))
            ok = false;
    }
    std::printf("targets (>= 95 %% of the limit, < 2 %% CPU at 100 ms, no errors): %s\n",
                ok ? "met" : "NOT met");
    return ok ? 0 : 1;
}

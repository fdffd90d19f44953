// bench_kvt_live: runs "motrix-cli kvt live --period P --count N" against the simulator on a
// pseudo-terminal at the line rate and reports the lines per second beside the limit
// 1 / (period + line time of the "D" request and its reply), taken from the lines' own time
// column, and the CPU the tool used.
#include "PtyHost.h"

#include <QCoreApplication>
#include <QProcess>
#include <cstdio>
#include <sys/resource.h>

namespace {

// 57600 baud, 11 bit times per byte; "D" and its 45-byte reply.
constexpr double lineMs = 46 * 11 * 1000.0 / 57600;

double childCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
           usage.ru_stime.tv_usec / 1e6;
}

bool run(int periodMs, double seconds)
{
    kvtsim::PtyHost host({QString(), false, 0, qEnvironmentVariableIsEmpty("BENCH_NO_RT")});
    QString error;
    if (!host.start(&error)) {
        std::fprintf(stderr, "bench_kvt_live: %s\n", qPrintable(error));
        return false;
    }
    const double limit = 1000.0 / (periodMs + lineMs);
    const int count = qMax(10, int(limit * seconds));
    const double cpuBefore = childCpuSeconds();
    QProcess process;
    process.start(QStringLiteral(MOTRIX_CLI_PATH),
                  {QStringLiteral("kvt"), QStringLiteral("live"), QStringLiteral("--port"),
                   host.terminalPath(), QStringLiteral("--period"), QString::number(periodMs),
                   QStringLiteral("--count"), QString::number(count), QStringLiteral("--csv")});
    if (!process.waitForFinished(int(seconds * 3000) + 10000) || process.exitCode() != 0) {
        std::fprintf(stderr, "bench_kvt_live: motrix-cli failed: %s\n",
                     process.readAllStandardError().constData());
        return false;
    }
    const double cpu = childCpuSeconds() - cpuBefore;
    const QList<QByteArray> lines = process.readAllStandardOutput().split('\n');
    QList<double> times;
    for (const QByteArray& line : lines.mid(1))
        if (!line.isEmpty())
            times << line.left(line.indexOf(',')).toDouble();
    if (times.size() != count) {
        std::fprintf(stderr, "bench_kvt_live: %lld lines instead of %d\n",
                     static_cast<long long>(times.size()), count);
        return false;
    }
    const double spanMs = times.back() - times.front();
    const double rate = (times.size() - 1) * 1000.0 / spanMs;
    std::printf("| %d ms | %d | %.1f | %.1f | %.1f %% | %.1f %% |\n", periodMs, count, rate, limit,
                100.0 * rate / limit, 100.0 * cpu / (spanMs / 1000.0));
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    double seconds = 10;
    const QStringList args = app.arguments();
    const int at = int(args.indexOf(QStringLiteral("--seconds")));
    if (at > 0 && at + 1 < args.size())
        seconds = qMax(1.0, args[at + 1].toDouble());
    std::printf("| --period | lines | per s | limit | share | CPU |\n|---|---|---|---|---|---|\n");
    bool ok = true;
    for (const int period : {5, 100})
        ok = run(period, seconds) && ok;
    return ok ? 0 : 1;
}

// bench_poll_displays: the whole program's poll rate at a COM-Timer of 5 ms against the
// simulator at line rate on a pseudo-terminal, once with no window besides the main window and
// once with the big display, the lambda logger (recording live values) and the logger window
// shown. Both runs in one process, one after the other.
#include "PtyHost.h"
#include "app/Motrix.h"
#include "app/core/SettingsCodec.h"
#include "app/core/SettingsStore.h"
#include "unattended/UnattendedDialogs.h"
#include "link/PosixSerialPort.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

// Answers nothing: the benchmark never asks the user.
using SilentDialogs = app::UnattendedDialogs;

double run(bool windows, double seconds)
{
    kvtsim::PtyHost host({QString(), false, 0, qEnvironmentVariableIsEmpty("BENCH_NO_RT")});
    QString error;
    if (!host.start(&error)) {
        std::fprintf(stderr, "bench_poll_displays: %s\n", qPrintable(error));
        std::exit(1);
    }
    QTemporaryDir dir;
    const QString programDir = dir.path() + "/";
    app::ProgramSettings s;
    s.portName = host.terminalPath();
    s.comAtStart = true;
    s.comTimerPeriod = 5;
    QFile f(app::settingsFilePath(programDir));
    if (!f.open(QIODevice::WriteOnly))
        std::exit(1);
    f.write(app::encodeSettings(s));
    f.close();

    SilentDialogs dialogs;
    app::Motrix motrix(dialogs, programDir, devlink::PosixSerialPort::factory());
    const QString port = host.terminalPath();
    motrix.setPortLister([port] { return QStringList{port}; });
    motrix.startUp({false, false});
    int polls = 0;
    motrix.link().feed().onLiveRecord([&polls](const devlink::LiveRecord&) { ++polls; });
    // BENCH_WINDOWS (default "big,lambda,logger") picks the windows of the second run.
    const QString which = qEnvironmentVariable("BENCH_WINDOWS", "big,lambda,logger");
    if (windows && which.contains("big")) {
        motrix.mainForm().bigDisplayButton->click();
        motrix.windows()[app::WindowId::BigDisplay].resize(1600, 1200);
    }
    if (windows && which.contains("lambda")) {
        motrix.mainForm().lambdaLoggerButton->click();
        motrix.lambdaWindow().form().recordLive->setChecked(true);
    }
    if (windows && which.contains("logger"))
        motrix.mainForm().loggerButton->click();
    // Two seconds to connect and settle, then the measured span.
    int startPolls = 0;
    QElapsedTimer wall;
    QTimer::singleShot(2000, [&] {
        startPolls = polls;
        wall.start();
    });
    QTimer::singleShot(int(2000 + seconds * 1000), [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    const double rate = (polls - startPolls) / (wall.nsecsElapsed() / 1e9);
    motrix.loop().stop();
    host.stop();
    return rate;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    double seconds = 10;
    const QStringList args = app.arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--seconds"));
    if (at >= 0 && at + 1 < args.size())
        seconds = qMax(1.0, args.at(at + 1).toDouble());
    const double plain = run(false, seconds);
    const double shown = run(true, seconds);
    const double limit = 1000.0 / (5 + 45 * 11 * 1000.0 / 57600);
    std::printf("COM-Timer 5 ms, line rate, limit %.1f polls/s\n", limit);
    std::printf("no window open:                       %.1f polls/s\n", plain);
    std::printf("big display, lambda logger, logger:   %.1f polls/s (%.1f %% of the first)\n",
                shown, shown / plain * 100);
    const bool ok = shown >= 0.9 * plain;
    std::printf("target (within 10 %%): %s\n", ok ? "met" : "NOT met");
    return ok ? 0 : 1;
}

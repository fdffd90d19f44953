// The soak's run: setting up the program and the simulator, driving the work, counting.
#include "SoakRun.h"

#include "FaultSchedule.h"
#include "PtyHost.h"
#include "Watchdog.h"
#include "app/Motrix.h"
#include "app/core/ProgramInfo.h"
#include "app/core/SettingsCodec.h"
#include "app/core/SettingsStore.h"
#include "unattended/UnattendedDialogs.h"
#include "app/core/UnplannedError.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>
#include <sys/prctl.h>
#include <thread>

namespace soak {

namespace {

using Clock = std::chrono::steady_clock;

// No fault starts in the last seconds of a run, so that the recovery from the last one is seen.
constexpr int graceMs = 3000;
// Ticks recorded per second at most (COM-Timer and logger timer at their shortest periods).
constexpr int ticksPerSecond = 40;
// The map editor's keys: a view is chosen, then cursor and value keys.
constexpr Qt::Key viewKeys[] = {Qt::Key_F5, Qt::Key_F6, Qt::Key_F7, Qt::Key_F8};
constexpr Qt::Key editKeys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,   Qt::Key_Down,
                                Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Plus, Qt::Key_Minus};

// The fault schedule in its own thread, so that faults start and end in the middle of the
// program's ticks as well as between them.
class FaultPlayer {
public:
    FaultPlayer(kvtsim::PtyHost& host, quint64 seed, Clock::time_point start, bool verbose)
        : m_host(host), m_schedule(seed), m_start(start)
    {
        if (verbose)
            m_schedule.setReporter([this](const kvtsim::PlayedFault& f, bool started) {
                std::printf("%8lld ms fault %s %s\n", (long long)now(),
                            started ? "starts:" : "ends:  ", qPrintable(f.describe()));
                std::fflush(stdout);
            });
    }
    ~FaultPlayer() { stop(); }

    void start()
    {
        m_thread = std::thread([this] {
            while (!m_stop) {
                {
                    std::lock_guard lock(m_mutex);
                    m_schedule.step(m_host, now());
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            std::lock_guard lock(m_mutex);
            m_schedule.finish(m_host, now());
        });
    }
    void stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    // The number of faults started so far and the target of the one in progress, if any.
    std::pair<std::size_t, std::optional<kvtsim::FaultTarget>> current()
    {
        std::lock_guard lock(m_mutex);
        const kvtsim::PlayedFault* f = m_schedule.current();
        return {m_schedule.played().size(),
                f ? std::optional<kvtsim::FaultTarget>(f->target) : std::nullopt};
    }
    std::vector<kvtsim::PlayedFault> played()
    {
        std::lock_guard lock(m_mutex);
        return m_schedule.played();
    }
    qint64 now() const
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_start)
            .count();
    }

private:
    kvtsim::PtyHost& m_host;
    kvtsim::FaultSchedule m_schedule;
    Clock::time_point m_start;
    std::mutex m_mutex;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

bool writeStartSettings(const QString& programDir, const QString& port)
{
    app::ProgramSettings s;
    s.portName = port;
    s.comAtStart = true;
    // Every identification reads the setup: faults during re-identification hit "L" too.
    s.readSetupAfterIdentification = true;
    QFile f(app::settingsFilePath(programDir));
    return f.open(QIODevice::WriteOnly) && f.write(app::encodeSettings(s)) > 0;
}

}  // namespace

SoakFigures runSoak(const SoakOptions& options)
{
    SoakFigures figures;
    figures.seed = options.seed;
    figures.seconds = options.seconds;
    figures.warmUpSeconds = std::clamp(options.seconds / 5, 10, 120);

    // A fresh program directory, as a first start on a new machine.
    QTemporaryDir home;
    const QByteArray data = QFile::encodeName(home.path() + QStringLiteral("/data"));
    ::setenv("XDG_DATA_HOME", data.constData(), 1);
    ::setenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + "/config").constData(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);

    // As the program's own main() does.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    static int argc = 1;
    static char name[] = "motrix-soak";
    static char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    QApplication::setApplicationName(app::programName);
    QApplication::setQuitOnLastWindowClosed(false);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString programDir = app::programDirectory();

    kvtsim::HostOptions hostOptions;
    hostOptions.linkPath = home.path() + QStringLiteral("/tty.kvtsim");
    // The KVT answers on time however busy the machine is (it has no scheduler): on a loaded
    // machine a starved simulator thread would otherwise pass for faults of the program.
    hostOptions.realtime = true;
    kvtsim::PtyHost host(hostOptions);
    QString error;
    if (!host.start(&error) || !writeStartSettings(programDir, hostOptions.linkPath)) {
        std::fprintf(stderr, "motrix-soak: cannot start: %s\n", qPrintable(error));
        std::exit(3);
    }

    const Clock::time_point start = Clock::now();
    FaultPlayer faults(host, options.seed, start, options.verbose);
    Watchdog watchdog(options.hangLimitMs, 60'000);
    app::UnattendedDialogs dialogs;
    // The record of ticks is filled in at once, so that it does not show as growth of the
    // resident size while the run goes on.
    std::vector<TickMark> ticks(std::size_t(options.seconds + 10) * ticksPerSecond);
    std::size_t tickCount = 0;
    TickMark tick;

    app::Motrix motrix(dialogs, programDir);
    app::installUnplannedErrorHandler(&dialogs, &motrix.log());
    motrix.setPortLister([&] { return QStringList{hostOptions.linkPath}; });
    motrix.log().setStatusSink([&](const QString& text) {
        motrix.mainForm().statusLine->setText(text);
        if (options.verbose) {
            // With the last commands the KVT took, to follow what went over the line.
            const QByteArray last = host.withSimulator(
                [](kvtsim::KvtSimulator& sim) { return sim.commandLog().right(12); });
            std::printf("%8lld ms   %-40s [%s] in %lld out %lld\n", (long long)faults.now(),
                        qPrintable(text), last.constData(), (long long)host.bytesReceived(),
                        (long long)host.bytesSent());
        }
        if (text == QLatin1String("KVT wurde identifiziert"))
            ++figures.identifications;
        else if (text == QLatin1String("Daten von KVT gelesen"))
            ++figures.setupReadsDone;
    });
    motrix.link().feed().onLiveRecord([&](const devlink::LiveRecord&) { ++figures.polls; });

    // Every tick, seen from the program: its start, and the link's state at its end.
    app::TickHooks& hooks = motrix.loop().hooks();
    hooks.connectStep = [&, inner = hooks.connectStep] {
        tick.startMs = faults.now();
        tick.identifiedAtStart =
            motrix.link().identified() && motrix.link().replyStatus() == devlink::ReplyStatus::Ok;
        watchdog.setPlace("tick: connect and identify");
        inner();
    };
    hooks.pollCycle = [&, inner = hooks.pollCycle] {
        watchdog.setPlace("tick: polling");
        const qint64 from = faults.now();
        inner();
        if (options.verbose && faults.now() - from > 150)
            std::printf("%8lld ms   (polling from %lld ms)\n", (long long)faults.now(),
                        (long long)from);
    };
    hooks.refreshDisplays = [&, inner = hooks.refreshDisplays] {
        watchdog.setPlace("tick: displays");
        inner();
        tick.endMs = faults.now();
        // A reply status left by this tick's commands drops the identification at the next
        // connectStep: the KVT counts as identified only while the status is good.
        tick.identified =
            motrix.link().identified() && motrix.link().replyStatus() == devlink::ReplyStatus::Ok;
        if (tickCount < ticks.size())
            ticks[tickCount++] = tick;
        watchdog.setPlace("event loop");
        watchdog.beat();
    };

    motrix.startUp({false, false});
    forms::Window& main = motrix.windows()[app::WindowId::Main];
    QApplication::setActiveWindow(&main);
    QCoreApplication::processEvents();
    faults.start();
    watchdog.start();

    // The user's side: setup reads and map edits, regularly and when a fault is aimed at them.
    std::mt19937 random(std::uint32_t(options.seed * 7919 + 1));
    const qint64 endMs = qint64(options.seconds) * 1000;
    std::size_t faultsSeen = 0;
    int keysLeft = 0;
    bool burstStart = false;
    qint64 nextKeyMs = 0;
    qint64 nextReadMs = 5000;
    qint64 nextEditMs = 3000;
    qint64 nextMemoryMs = 1000;
    bool stopping = false;
    QTimer driver;
    driver.setTimerType(Qt::PreciseTimer);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        watchdog.beat();
        const qint64 now = faults.now();
        if (now >= nextMemoryMs) {
            const qint64 rss = residentKb();
            figures.rssMaxKb = std::max(figures.rssMaxKb, rss);
            if (figures.rssWarmKb == 0 && now >= figures.warmUpSeconds * 1000LL)
                figures.rssWarmKb = rss;
            nextMemoryMs = now + 1000;
        }
        if (now >= endMs - graceMs && !stopping) {
            // No new fault; the last one's recovery is still watched.
            stopping = true;
            faults.stop();
        }
        if (now >= endMs) {
            QCoreApplication::exit(0);
            return;
        }
        if (stopping)
            return;
        const auto [started, target] = faults.current();
        bool readNow = now >= nextReadMs;
        if (started != faultsSeen && target) {
            faultsSeen = started;
            if (*target == kvtsim::FaultTarget::SetupRead)
                readNow = true;
            else if (*target == kvtsim::FaultTarget::MapEdit && keysLeft == 0)
                nextEditMs = now;
        }
        if (readNow && motrix.link().identified()) {
            watchdog.setPlace("setup read (-> PC)");
            motrix.mainForm().readFromKvtButton->click();
            watchdog.setPlace("event loop");
            nextReadMs = now + 8000 + int(random() % 5000);
        }
        if (keysLeft == 0 && now >= nextEditMs) {
            keysLeft = 6 + int(random() % 8);
            burstStart = true;
            nextKeyMs = now;
            nextEditMs = now + 5000 + int(random() % 5000);
        }
        if (keysLeft > 0 && now >= nextKeyMs) {
            // Slower than the COM period, so that polling goes on between the keys.
            // A burst: a view's key first, then cursor and value keys, Esc at the end.
            Qt::Key key = editKeys[random() % std::size(editKeys)];
            if (keysLeft == 1)
                key = Qt::Key_Escape;
            else if (burstStart)
                key = viewKeys[random() % std::size(viewKeys)];
            burstStart = false;
            watchdog.setPlace("map edit (keys)");
            if (options.verbose)
                std::printf("%8lld ms   key %s\n", (long long)now,
                            qPrintable(QKeySequence(key).toString()));
            QTest::keyClick(&main, key);
            watchdog.setPlace("event loop");
            ++figures.mapKeys;
            --keysLeft;
            nextKeyMs = now + 150 + int(random() % 200);
        }
    });
    driver.start(20);
    QApplication::exec();
    driver.stop();

    figures.rssEndKb = residentKb();
    figures.rssMaxKb = std::max(figures.rssMaxKb, figures.rssEndKb);
    watchdog.stop();
    motrix.shutDown();
    host.stop();

    ticks.resize(tickCount);
    figures.faults = faults.played();
    // The last fault ended at least the grace time before the end, so every fault is judged.
    for (const kvtsim::PlayedFault& f : figures.faults) {
        const int n = ticksUntilIdentified(ticks, f.endMs);
        figures.ticksToIdentify.push_back(n);
        if (options.verbose && (n < 0 || n > 2)) {
            std::printf("ticks around the end of %s at %lld ms:\n", qPrintable(f.describe()),
                        (long long)f.endMs);
            for (const TickMark& t : ticks)
                if (t.endMs >= f.endMs - 500 && t.startMs <= f.endMs + 2000)
                    std::printf("  tick %lld-%lld ms: %s -> %s\n", (long long)t.startMs,
                                (long long)t.endMs, t.identifiedAtStart ? "id" : "--",
                                t.identified ? "id" : "--");
        }
    }
    figures.ticks = qint64(ticks.size());
    const QByteArray commands =
        host.withSimulator([](kvtsim::KvtSimulator& s) { return s.commandLog(); });
    figures.setupReadsStarted = commands.count('L');
    for (char c : commands)
        if (c == 'K' || c == 'T' || c == 'Z' || c == 'M')
            figures.mapCommands.append(c);
    figures.longestStallMs = watchdog.longestLateMs();
    for (const Hang& h : watchdog.hangs()) {
        ++figures.hangs;
        figures.hangPlaces += QString::fromStdString(h.place) + QStringLiteral("; ");
    }
    figures.messageBoxes = dialogs.messages;
    figures.questions = dialogs.questions;
    figures.boxTexts = dialogs.seen;
    return figures;
}

}  // namespace soak

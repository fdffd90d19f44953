// kvtsim: plays the KVT on a pseudo-terminal so that the program can be tried without
// hardware. Steered by options and by commands typed on its console.
#include "BootCommands.h"
#include "ConsoleCommands.h"
#include "FaultSchedule.h"
#include "PtyHost.h"

#include <QString>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

const char* const usage =
    "Usage: kvtsim [options]\n"
    "Plays a KVT engine control unit on a pseudo-terminal.\n"
    "\n"
    "  --link PATH        link the terminal as PATH (default /dev/tty.kvtsim)\n"
    "  --no-link          make no link; use the printed terminal path\n"
    "  --instant          answer at once instead of at the line rate (57600 baud, 8N2)\n"
    "  --fault KIND[:LETTER[:COUNT]]\n"
    "                     start with a fault: silence, wrong (first letter), short, long\n"
    "                     (one byte missing / too many), alterN (the Nth byte after the\n"
    "                     letter changed); LETTER limits it to one command\n"
    "                     (I D G A P L B), COUNT to that many replies\n"
    "  --faults SEED      play a random sequence of faults, one after another: silence,\n"
    "                     wrong first letters, short and long replies, stray bytes, the\n"
    "                     link dropped and back; the same SEED plays the same sequence\n"
    "  --stray MS         put stray bytes on the line every MS milliseconds\n"
    "  --drop-after MS    drop the link (the terminal vanishes, as an unplugged adapter)\n"
    "                     MS milliseconds after the start\n"
    "  --drop-for MS      how long a dropped link stays away (default 3000; -1 for good)\n"
    "  --emergency        start with the emergency program on\n"
    "  --trigger SPOIL    spoil the crank signal: nosignal, teeth, gap (or none)\n"
    "  --boot-fault F     boot-loader fault: nak:K (refuse frame K once), checksum (refuse\n"
    "                     every frame), silence, drop:K (drop the link after K frames);\n"
    "                     may be given more than once\n"
    "  --boot-image PATH  write each completed firmware image to PATH\n"
    "  --dyno-every S     a run on the roller dynamometer every S seconds (3000 to\n"
    "                     12000 rpm at full throttle, then rolling down)\n"
    "  --quiet            no console prompt messages\n"
    "  --help             this text\n"
    "\n"
    "While it runs, type commands on its console ('help' lists them), e.g. 'silence',\n"
    "'wrong:D:1', 'drop 3000', 'emergency on', 'ok'. Ctrl+C or 'quit' ends it.\n";

void printOutputEvents(kvtsim::PtyHost& host)
{
    const auto events =
        host.withSimulator([](kvtsim::KvtSimulator& sim) { return sim.takeOutputEvents(); });
    for (const kvtsim::OutputEvent& e : events)
        std::printf("kvtsim: %s\n", qPrintable(kvtsim::describeOutput(e.output, e.value)));
    if (!events.empty())
        std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    kvtsim::HostOptions options;
    options.linkPath = QStringLiteral("/dev/tty.kvtsim");
    kvtsim::FaultPlan fault;
    kvtsim::BootFaults bootFaults;
    QString bootImage;
    bool emergency = false;
    kvtsim::TriggerSpoil spoil = kvtsim::TriggerSpoil::None;
    int dynoEvery = 0;
    bool quiet = false;
    int dropAfterMs = -1;
    int dropForMs = 3000;
    std::optional<kvtsim::FaultSchedule> schedule;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        auto value = [&]() -> QString {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "kvtsim: %s needs a value\n", argv[i]);
                std::exit(2);
            }
            return QString::fromLocal8Bit(argv[++i]);
        };
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            std::fputs(usage, stdout);
            return 0;
        } else if (arg == QLatin1String("--link")) {
            options.linkPath = value();
        } else if (arg == QLatin1String("--no-link")) {
            options.linkPath.clear();
        } else if (arg == QLatin1String("--instant")) {
            options.instant = true;
        } else if (arg == QLatin1String("--fault")) {
            if (!kvtsim::parseFault(value(), &fault)) {
                std::fprintf(stderr, "kvtsim: unknown fault '%s'\n", argv[i]);
                return 2;
            }
        } else if (arg == QLatin1String("--faults")) {
            bool ok = false;
            const qulonglong seed = value().toULongLong(&ok);
            if (!ok) {
                std::fprintf(stderr, "kvtsim: --faults needs a number\n");
                return 2;
            }
            schedule.emplace(seed);
        } else if (arg == QLatin1String("--stray")) {
            options.strayEveryMs = value().toInt();
        } else if (arg == QLatin1String("--drop-after")) {
            dropAfterMs = qMax(0, value().toInt());
        } else if (arg == QLatin1String("--drop-for")) {
            dropForMs = value().toInt();
        } else if (arg == QLatin1String("--trigger")) {
            if (!kvtsim::parseTriggerSpoil(value(), &spoil)) {
                std::fprintf(stderr, "kvtsim: unknown trigger spoil '%s'\n", argv[i]);
                return 2;
            }
        } else if (arg == QLatin1String("--boot-fault")) {
            if (!kvtsim::parseBootFault(value(), &bootFaults)) {
                std::fprintf(stderr, "kvtsim: unknown boot fault '%s'\n", argv[i]);
                return 2;
            }
        } else if (arg == QLatin1String("--boot-image")) {
            bootImage = value();
        } else if (arg == QLatin1String("--emergency")) {
            emergency = true;
        } else if (arg == QLatin1String("--dyno-every")) {
            dynoEvery = value().toInt();
        } else if (arg == QLatin1String("--quiet")) {
            quiet = true;
        } else {
            std::fprintf(stderr, "kvtsim: unknown option '%s'\n%s", argv[i], usage);
            return 2;
        }
    }

    // Ctrl+C and kill end the simulator in order, so that the link is removed.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    const int signalFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);

    kvtsim::PtyHost host(options);
    host.withSimulator([&](kvtsim::KvtSimulator& sim) {
        sim.setFault(fault);
        sim.setEmergency(emergency);
        sim.setTriggerSpoil(spoil);
        sim.bootLoader().setFaults(bootFaults);
        sim.bootLoader().setImageFile(bootImage);
        sim.dynoRun().setRepeatEvery(dynoEvery);
    });
    QString error;
    if (!host.start(&error)) {
        std::fprintf(stderr, "kvtsim: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("kvtsim: KVT on %s", qPrintable(host.terminalPath()));
    if (!options.linkPath.isEmpty())
        std::printf(", linked as %s", qPrintable(options.linkPath));
    std::printf(" (%s)\n", options.instant ? "instant replies" : "57600 baud line rate");
    if (!quiet)
        std::printf("Type 'help' for commands.\n");
    std::fflush(stdout);

    if (schedule)
        schedule->setReporter([](const kvtsim::PlayedFault& f, bool startedNow) {
            std::printf("kvtsim: fault %s %s\n",
                        startedNow ? "starts:" : "ends:  ", qPrintable(f.describe()));
            std::fflush(stdout);
        });
    bool quit = false;
    bool stdinOpen = true;
    std::string pendingLine;
    const auto started = std::chrono::steady_clock::now();
    while (!quit) {
        int timeout = -1;
        if (dropAfterMs >= 0) {
            const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - started)
                                     .count();
            if (elapsed >= dropAfterMs) {
                host.dropLink(dropForMs < 0 ? -1 : dropForMs);
                std::printf("kvtsim: link dropped%s\n", dropForMs < 0 ? "" : " for a while");
                std::fflush(stdout);
                dropAfterMs = -1;
            } else {
                timeout = int(dropAfterMs - elapsed);
            }
        }
        if (schedule) {
            const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - started)
                                     .count();
            schedule->step(host, elapsed);
            // Counted faults end with the reply they spoil: look again soon.
            timeout = timeout < 0 ? 5 : std::min(timeout, 5);
        }
        // Switched test outputs show up on the console within a fifth of a second.
        printOutputEvents(host);
        if (!quiet)
            timeout = timeout < 0 ? 200 : std::min(timeout, 200);
        pollfd fds[2] = {{signalFd, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        if (::poll(fds, stdinOpen ? 2 : 1, timeout) <= 0)
            continue;
        if (fds[0].revents & POLLIN)
            break;
        if (stdinOpen && (fds[1].revents & (POLLIN | POLLHUP))) {
            char buffer[256];
            const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (n <= 0) {
                stdinOpen = false;  // run on without a console (started in the background)
                continue;
            }
            pendingLine.append(buffer, size_t(n));
            std::string::size_type end;
            while ((end = pendingLine.find('\n')) != std::string::npos) {
                const QString line = QString::fromLocal8Bit(pendingLine.substr(0, end));
                pendingLine.erase(0, end + 1);
                const QString answer = kvtsim::runConsoleCommand(host, line, &quit);
                if (!answer.isEmpty())
                    std::printf("%s\n", qPrintable(answer));
                std::fflush(stdout);
            }
        }
    }
    host.stop();
    std::printf("kvtsim: stopped\n");
    return 0;
}

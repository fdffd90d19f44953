// motrix-soak: runs the whole program against the simulated KVT for a given time while the
// simulator injects faults, and reports how the program coped. The run happens in a child
// process, so that a crash is seen and reported rather than taking the report with it.
//
//   motrix-soak SECONDS [--seed N] [--json PATH] [--hang-ms MS] [--memory-target PERCENT]
//               [--verbose]
//
// Exit status 0 only when every target is met: no crash, no hang, the KVT identified again at
// most 2 ticks after each fault ends, resident memory after warm-up flat within 5 %.
#include "SoakRun.h"

#include <QFile>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const char* const usage =
    "Usage: motrix-soak SECONDS [--seed N] [--json PATH] [--hang-ms MS]\n"
    "                   [--memory-target PERCENT] [--verbose]\n"
    "Runs the program offscreen against the simulated KVT for SECONDS while the simulator\n"
    "injects faults (the same seed plays the same faults), and reports faults, ticks until\n"
    "the KVT is identified again, polls, crashes, hangs and memory growth.\n"
    "  --seed N            the fault sequence (default 1)\n"
    "  --json PATH         the figures as JSON as well\n"
    "  --hang-ms MS        a stall of the event loop longer than this is a hang (2000)\n"
    "  --memory-target P   allowed growth of the resident size after warm-up (5 %)\n"
    "  --verbose           each fault, status message and key as it happens\n";

void writeCrashJson(const std::string& path, int signal, quint64 seed)
{
    if (path.empty())
        return;
    if (FILE* f = std::fopen(path.c_str(), "w")) {
        std::fprintf(f,
                     "{\n    \"seed\": \"%llu\",\n    \"crashes\": 1,\n    \"signal\": %d,\n"
                     "    \"targetsMet\": false\n}\n",
                     (unsigned long long)seed, signal);
        std::fclose(f);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    soak::SoakOptions options;
    soak::Targets targets;
    std::string jsonPath;
    bool haveSeconds = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "motrix-soak: %s needs a value\n", arg.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(usage, stdout);
            return 0;
        } else if (arg == "--seed") {
            options.seed = std::strtoull(value().c_str(), nullptr, 10);
        } else if (arg == "--json") {
            jsonPath = value();
        } else if (arg == "--hang-ms") {
            options.hangLimitMs = std::max(100, std::atoi(value().c_str()));
        } else if (arg == "--memory-target") {
            targets.maxMemoryGrowthPercent = std::atof(value().c_str());
        } else if (arg == "--verbose") {
            options.verbose = true;
        } else if (!haveSeconds && !arg.empty() && arg[0] != '-') {
            options.seconds = std::atoi(arg.c_str());
            haveSeconds = true;
        } else {
            std::fprintf(stderr, "motrix-soak: unknown option '%s'\n%s", arg.c_str(), usage);
            return 2;
        }
    }
    if (!haveSeconds || options.seconds < 15) {
        std::fprintf(stderr, "motrix-soak: give the run time in seconds (at least 15)\n%s", usage);
        return 2;
    }

    // The parent waits for SIGCHLD with a budget: a child stuck beyond it counts as hung.
    sigset_t childSignal;
    sigemptyset(&childSignal);
    sigaddset(&childSignal, SIGCHLD);
    sigprocmask(SIG_BLOCK, &childSignal, nullptr);
    std::fflush(stdout);
    const pid_t child = fork();
    if (child < 0) {
        std::perror("motrix-soak: fork");
        return 3;
    }
    if (child == 0) {
        sigprocmask(SIG_UNBLOCK, &childSignal, nullptr);
        const soak::SoakFigures figures = soak::runSoak(options);
        std::fputs(qPrintable(figures.text(targets, options.verbose)), stdout);
        if (!jsonPath.empty()) {
            QFile f(QString::fromStdString(jsonPath));
            if (f.open(QIODevice::WriteOnly))
                f.write(figures.json(targets));
        }
        const QStringList missed = figures.missed(targets);
        for (const QString& m : missed)
            std::printf("MISSED: %s\n", qPrintable(m));
        std::fflush(stdout);
        std::_Exit(missed.isEmpty() ? 0 : 1);
    }

    const int budgetS = options.seconds + 120;
    timespec budget{budgetS, 0};
    int status = 0;
    bool exited = false;
    while (!exited) {
        const int sig = sigtimedwait(&childSignal, nullptr, &budget);
        if (sig < 0 && errno == EAGAIN) {
            std::printf("Crashes: 0\nHang: the run did not end within %d s; killed\n", budgetS);
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            writeCrashJson(jsonPath, SIGKILL, options.seed);
            std::printf("Result: FAILED\n");
            return 1;
        }
        exited = waitpid(child, &status, WNOHANG) == child;
    }
    if (WIFSIGNALED(status)) {
        std::printf("Crashes: 1 (signal %d, %s)\nResult: FAILED\n", WTERMSIG(status),
                    strsignal(WTERMSIG(status)));
        writeCrashJson(jsonPath, WTERMSIG(status), options.seed);
        return 1;
    }
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 1;
    std::printf("Crashes: 0\nResult: %s\n", code == 0 ? "all targets met" : "FAILED");
    return code == 0 ? 0 : 1;
}

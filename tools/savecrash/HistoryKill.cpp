// kill -9 during history writes.
#include "HistoryKill.h"

#include "history/SetupHistory.h"
#include "setup/SetupBlock.h"

#include <QDir>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

namespace savecrash {
namespace {

// A different block for every sequence number, so a torn or mixed-up entry is told apart.
QByteArray blockFor(qint64 seq)
{
    setup::SetupRecord r;
    for (std::size_t i = 0; i < r.injectionMap.size(); ++i)
        r.injectionMap[i] = quint16((seq * 131 + qint64(i) * 7) & 0xFFFF);
    r.limiterSpeed = quint8(seq & 0xFF);
    r.injectorDeadTime[0] = quint16(seq >> 8);
    return setup::encodeSetupBlock(r);
}

const history::KvtIdentity kvt{QStringLiteral("KVT 3Zyl...."), QStringLiteral("2.1"),
                               QStringLiteral("4.7"), QStringLiteral("1.3"), 7};

struct Committed {
    qint64 id;
    qint64 seq;
};

// The child: records until killed. Every fourth record repeats the one before, so the repeat
// counter's update is killed as well as the insert.
[[noreturn]] void recordForever(const QString& folder, qint64 firstSeq, int reportFd)
{
    history::SetupHistory h;
    if (!h.open(folder).ok)
        _exit(3);
    // The kill is timed from here, so that it lands among the writes, not in the check at open.
    const char go = 'g';
    if (write(reportFd, &go, 1) != 1)
        _exit(4);
    qint64 seq = firstSeq;
    for (int i = 0; i < 100000; ++i) {
        if (i % 4 != 3)
            ++seq;
        const qint64 id = h.record(history::Event::KvtRead, kvt, {}, {}, blockFor(seq));
        if (id == 0)
            _exit(5);
        const Committed c{id, seq};
        if (write(reportFd, &c, sizeof c) != sizeof c)
            _exit(4);
    }
    _exit(0);
}

void sleepNs(qint64 ns)
{
    timespec t{time_t(ns / 1000000000), long(ns % 1000000000)};
    while (nanosleep(&t, &t) != 0 && errno == EINTR) {
    }
}

}  // namespace

bool runHistoryKills(const QString& folder, int kills, std::mt19937_64& random)
{
    QDir().mkpath(folder);
    std::map<qint64, qint64> committed;  // id -> seq of its block
    std::uniform_int_distribution<qint64> delay(0, 80'000'000);
    int damaged = 0, lost = 0, extra = 0, childFailures = 0, amongWrites = 0;
    qint64 nextSeq = 0;
    for (int k = 0; k < kills; ++k) {
        int pipeFds[2];
        if (pipe(pipeFds) != 0)
            return false;
        const pid_t child = fork();
        if (child < 0)
            return false;
        if (child == 0) {
            close(pipeFds[0]);
            recordForever(folder, nextSeq, pipeFds[1]);
        }
        close(pipeFds[1]);
        char go = 0;
        if (read(pipeFds[0], &go, 1) == 1)
            sleepNs(delay(random));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFSIGNALED(status))
            ++childFailures;
        Committed c{};
        bool reported = false;
        while (read(pipeFds[0], &c, sizeof c) == sizeof c) {
            committed[c.id] = c.seq;
            nextSeq = std::max(nextSeq, c.seq + 1);
            reported = true;
        }
        amongWrites += reported ? 1 : 0;
        close(pipeFds[0]);
        // The kill may land after a commit and before its report: at most that one is new.
        nextSeq += 1;

        history::SetupHistory h;
        const history::OpenResult opened = h.open(folder);
        if (!opened.ok || !opened.movedTo.isEmpty()) {
            ++damaged;
            std::fprintf(stderr, "db: kill %d left a database that does not open: %s\n", k,
                         qPrintable(opened.message));
            QDir(folder).removeRecursively();
            QDir().mkpath(folder);
            committed.clear();
            continue;
        }
        for (const auto& [id, seq] : committed) {
            const std::optional<history::Entry> e = h.get(id);
            if (!e || e->block != blockFor(seq)) {
                ++lost;
                std::fprintf(stderr, "db: kill %d lost entry %lld\n", k, id);
            }
        }
        const qint64 stored = qint64(h.list().size());
        extra = std::max(extra, int(stored - qint64(committed.size())));
        if (stored > qint64(committed.size()) + 1 || stored < qint64(committed.size()))
            ++lost;
        // The unreported entry of this kill counts as committed from now on.
        if (stored == qint64(committed.size()) + 1) {
            const history::Entry newest = h.list().front();
            const std::optional<history::Entry> e = h.get(newest.id);
            if (e)
                for (qint64 s = nextSeq - 2; s <= nextSeq; ++s)
                    if (e->block == blockFor(s))
                        committed[newest.id] = s;
            if (!committed.count(newest.id))
                ++lost;
        }
    }
    std::printf(
        "db   kills %d (%d after the first commit)  committed entries %zu  unreported at "
        "most %d  damaged %d  lost %d  child failures %d\n",
        kills, amongWrites, committed.size(), extra, damaged, lost, childFailures);
    std::fflush(stdout);
    return damaged == 0 && lost == 0 && childFailures == 0 && !committed.empty();
}

}  // namespace savecrash

// savecrash: kills the program with SIGKILL while it saves, and checks that every file it saves
// is afterwards either the complete old or the complete new one, never partial or missing, and
// that temporary files never pile up.
//
// For each kind of file a forked child prepares a save of new content over the old file through
// the program's own save procedure, says when it starts saving, and is killed after a random
// delay spread over 1.2 times the save's duration (as measured in unkilled children). The parent
// then compares the file with both contents byte for byte and looks for temporary files to tell
// where the kill landed: before the temporary file existed, while it was written, once it was
// complete but not yet renamed (being flushed), or after the rename.
//
// The setup history ("db") is a database, not a file saved whole: a child records entries one
// after another until it is killed, and the database must open unharmed with every entry the
// child reported as committed (HistoryKill.cpp).
//
//   savecrash [--kills N] [--kinds cfg,kvt,klg,klv,kll,db] [--dir FOLDER] [--seed S]
#include "HistoryKill.h"
#include "SaveKinds.h"
#include "app/core/AtomicFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using savecrash::Kind;

struct Options {
    int kills = 1000;
    QStringList kinds;
    QString dir;
    quint64 seed = 0;
};

struct Tally {
    int kills = 0;
    int beforeTemp = 0;    // killed before its temporary file existed
    int duringWrite = 0;   // temporary file partly written
    int beforeRename = 0;  // temporary file complete, not yet renamed
    int afterRename = 0;   // new file in place (flushing the folder, or returning)
    int finished = 0;      // the save ended before the kill
    int old = 0;
    int fresh = 0;
    int bad = 0;           // partial, missing or foreign content
    int maxLeftovers = 0;  // temporary files present at once after a kill
    int failedSaves = 0;   // a save that ran to its end but reported failure
};

QByteArray readAll(const QString& path, bool* exists = nullptr)
{
    QFile f(path);
    const bool open = f.open(QIODevice::ReadOnly);
    if (exists)
        *exists = open;
    return open ? f.readAll() : QByteArray();
}

bool writePlain(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QStringList temporaries(const QString& folder, const QString& target)
{
    const QString prefix = app::temporaryFilePrefix(target);
    QStringList out;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (name.startsWith(prefix))
            out << name;
    return out;
}

// The bytes of one uninterrupted save of variant into folder.
QByteArray savedContent(const Kind& kind, const QString& folder, const QString& work, int variant)
{
    QDir().mkpath(folder);
    auto prepared = kind.prepare(folder, work, variant);
    if (!prepared->save())
        return {};
    return readAll(folder + QLatin1Char('/') + kind.fileName);
}

void sleepNs(qint64 ns)
{
    timespec t{time_t(ns / 1000000000), long(ns % 1000000000)};
    while (nanosleep(&t, &t) != 0 && errno == EINTR) {
    }
}

struct Child {
    bool started = false;  // it prepared its save and said so
    int status = 0;
    qint64 elapsedNs = 0;  // from the start of its save to the end (when not killed)
};

// Forks a child that prepares a save of the new content and saves; killed after killAfterNs
// from the start of its save unless that is negative.
Child runChild(const Kind& kind, const QString& folder, const QString& work, qint64 killAfterNs)
{
    Child c;
    int ready[2];
    if (pipe(ready) != 0)
        return c;
    const pid_t child = fork();
    if (child < 0) {
        close(ready[0]);
        close(ready[1]);
        return c;
    }
    if (child == 0) {
        close(ready[0]);
        auto prepared = kind.prepare(folder, work, 1);
        const char go = 'g';
        if (write(ready[1], &go, 1) != 1)
            _exit(4);
        const bool saved = prepared->save();
        const char done = 'd';
        if (write(ready[1], &done, 1) != 1)
            _exit(4);
        _exit(saved ? 0 : 3);
    }
    close(ready[1]);
    char go = 0;
    c.started = read(ready[0], &go, 1) == 1;
    QElapsedTimer timer;
    timer.start();
    if (c.started && killAfterNs >= 0)
        sleepNs(killAfterNs);
    if (!c.started || killAfterNs >= 0)
        kill(child, SIGKILL);
    else if (read(ready[0], &go, 1) == 1)
        c.elapsedNs = timer.nsecsElapsed();
    close(ready[0]);
    waitpid(child, &c.status, 0);
    return c;
}

bool runKind(const Kind& kind, const Options& opt, std::mt19937_64& random, Tally& t)
{
    const QString base = opt.dir + QLatin1Char('/') + kind.name;
    const QString work = base + QStringLiteral("/work");
    const QString folder = base + QStringLiteral("/target");
    const QString target = folder + QLatin1Char('/') + kind.fileName;
    const QByteArray oldBytes = savedContent(kind, base + QStringLiteral("/old"), work, 0);
    const QByteArray newBytes = savedContent(kind, base + QStringLiteral("/new"), work, 1);
    if (oldBytes.isEmpty() || newBytes.isEmpty() || oldBytes == newBytes) {
        std::fprintf(stderr, "%s: the two contents could not be made\n", qPrintable(kind.name));
        return false;
    }
    QDir().mkpath(folder);

    // An uninterrupted save must give the new content.
    writePlain(target, oldBytes);
    if (!kind.prepare(folder, work, 1)->save() || readAll(target) != newBytes) {
        std::fprintf(stderr, "%s: an uninterrupted save failed\n", qPrintable(kind.name));
        return false;
    }
    // The save's duration as the parent sees it in a child, from its start to its end, waiting
    // for the processor included: a machine under load stretches it, and the kills with it.
    std::vector<qint64> durations;
    for (int i = 0; i < 7; ++i) {
        writePlain(target, oldBytes);
        const Child c = runChild(kind, folder, work, -1);
        if (!c.started || !WIFEXITED(c.status) || WEXITSTATUS(c.status) != 0 ||
            readAll(target) != newBytes) {
            std::fprintf(stderr, "%s: a save in a child failed\n", qPrintable(kind.name));
            return false;
        }
        durations.push_back(c.elapsedNs);
    }
    std::sort(durations.begin(), durations.end());
    const qint64 duration = durations[durations.size() / 2];
    std::uniform_int_distribution<qint64> delay(0, duration * 6 / 5);

    for (int i = 0; i < opt.kills; ++i) {
        if (!writePlain(target, oldBytes))
            return false;
        const QStringList leftBefore = temporaries(folder, target);
        const Child c = runChild(kind, folder, work, delay(random));
        if (!c.started) {
            std::fprintf(stderr, "%s: a child died while preparing\n", qPrintable(kind.name));
            return false;
        }
        const int status = c.status;
        ++t.kills;

        bool exists = false;
        const QByteArray now = readAll(target, &exists);
        const QStringList left = temporaries(folder, target);
        t.maxLeftovers = std::max(t.maxLeftovers, int(left.size()));
        QStringList own;
        for (const QString& name : left)
            if (!leftBefore.contains(name))
                own << name;
        const bool killed = WIFSIGNALED(status);
        if (!killed) {
            ++t.finished;
            if (WEXITSTATUS(status) != 0)
                ++t.failedSaves;
        }
        if (exists && now == oldBytes) {
            ++t.old;
            if (killed && own.isEmpty())
                ++t.beforeTemp;
            else if (killed &&
                     QFileInfo(folder + QLatin1Char('/') + own.first()).size() < newBytes.size())
                ++t.duringWrite;
            else if (killed)
                ++t.beforeRename;
        } else if (exists && now == newBytes) {
            ++t.fresh;
            if (killed)
                ++t.afterRename;
        } else {
            ++t.bad;
            const QString kept = base + QStringLiteral("/bad-") + QString::number(i);
            QFile::copy(target, kept);
            std::fprintf(stderr, "%s: kill %d left %s (%lld bytes), kept as %s\n",
                         qPrintable(kind.name), i, exists ? "a partial file" : "no file",
                         qint64(now.size()), qPrintable(kept));
        }
    }

    // One more save without a kill removes whatever temporary file the kills left.
    writePlain(target, oldBytes);
    const bool lastSaved = kind.prepare(folder, work, 1)->save();
    const int leftAtEnd = int(temporaries(folder, target).size());
    std::printf("%-4s %7lld %7.1f %6d %7d %8d %9d %8d %9d %6d %6d %8d %10d %9d\n",
                qPrintable(kind.name), qint64(newBytes.size()), duration / 1e6, t.kills,
                t.beforeTemp, t.duringWrite, t.beforeRename, t.afterRename, t.finished, t.old,
                t.fresh, t.bad, t.maxLeftovers, leftAtEnd);
    std::fflush(stdout);
    return t.bad == 0 && t.failedSaves == 0 && t.maxLeftovers <= 1 && lastSaved && leftAtEnd == 0 &&
           readAll(target) == newBytes;
}

bool parse(const QStringList& args, Options& opt)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--kills") && hasValue)
            opt.kills = args[++i].toInt();
        else if (a == QLatin1String("--kinds") && hasValue)
            opt.kinds = args[++i].split(QLatin1Char(','), Qt::SkipEmptyParts);
        else if (a == QLatin1String("--dir") && hasValue)
            opt.dir = args[++i];
        else if (a == QLatin1String("--seed") && hasValue)
            opt.seed = args[++i].toULongLong();
        else
            return false;
    }
    return opt.kills > 0;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Options opt;
    if (!parse(app.arguments(), opt)) {
        std::fprintf(stderr,
                     "usage: savecrash [--kills N] [--kinds cfg,kvt,klg,klv,kll,db] "
                     "[--dir FOLDER] [--seed S]\n");
        return 2;
    }
    // The files go to a fresh folder on the disk (beside the current folder by default), never
    // to a memory file system whose flushes cost nothing.
    QTemporaryDir scratch(QDir(opt.dir.isEmpty() ? QDir::currentPath() : opt.dir)
                              .filePath(QStringLiteral("savecrash-XXXXXX")));
    if (!scratch.isValid()) {
        std::fprintf(stderr, "cannot create a scratch folder\n");
        return 2;
    }
    opt.dir = scratch.path();
    if (opt.seed == 0)
        opt.seed = quint64(time(nullptr));
    std::mt19937_64 random(opt.seed);
    std::printf("savecrash: %d kills per kind, seed %llu\n", opt.kills,
                static_cast<unsigned long long>(opt.seed));
    std::printf(
        "kind   bytes save ms  kills  before  writing  complete  renamed  finished    old    new"
        "  partial  leftovers  at end\n");
    bool pass = true;
    for (const Kind& kind : savecrash::kinds()) {
        if (!opt.kinds.isEmpty() && !opt.kinds.contains(kind.name))
            continue;
        Tally tally;
        pass = runKind(kind, opt, random, tally) && pass;
    }
    if (opt.kinds.isEmpty() || opt.kinds.contains(QLatin1String("db")))
        pass =
            savecrash::runHistoryKills(opt.dir + QStringLiteral("/db"), opt.kills, random) && pass;
    std::printf("%s\n", pass ? "PASS: every file was complete old or complete new, the history "
                               "kept every committed entry"
                             : "FAIL");
    return pass ? 0 : 1;
}

// bench_history: the size of the setup history after a year of daily use, and the time of one
// entry. Records DAYS x PER_DAY entries (default 365 x 50) into a fresh database in FOLDER
// (default: beside the current folder, on the disk), each a different setup of one of four KVTs
// (a few cells changed from the one before, events, files and descriptions varying, no repeats:
// the largest history such use can make), then prints the file size and the times.
//
//   bench_history [DAYS] [PER_DAY] [FOLDER]
#include "history/SetupHistory.h"
#include "setup/SetupBlock.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int days = argc > 1 ? std::atoi(argv[1]) : 365;
    const int perDay = argc > 2 ? std::atoi(argv[2]) : 50;
    QTemporaryDir dir(QDir(argc > 3 ? QString::fromLocal8Bit(argv[3]) : QDir::currentPath())
                          .filePath(QStringLiteral("bench-history-XXXXXX")));
    history::SetupHistory h;
    if (!dir.isValid() || !h.open(dir.path()).ok) {
        std::fprintf(stderr, "cannot create the history\n");
        return 2;
    }
    QDateTime now(QDate(2026, 1, 1), QTime(8, 0));
    h.setClock([&now] { return now; });
    const history::Event events[] = {history::Event::KvtRead, history::Event::KvtWrite,
                                     history::Event::EepromStore, history::Event::FileSave,
                                     history::Event::FileLoad};
    setup::SetupRecord record;
    for (std::size_t i = 0; i < record.injectionMap.size(); ++i)
        record.injectionMap[i] = quint16(1200 + 11 * i);
    QElapsedTimer total;
    total.start();
    qint64 slowest = 0;
    for (int d = 0; d < days; ++d) {
        for (int n = 0; n < perDay; ++n) {
            const int i = d * perDay + n;
            record.injectionMap[std::size_t(i * 37 % 153)] += 3;
            record.ignitionMap[std::size_t(i * 11 % 153)] = quint8(i % 40);
            record.limiterSpeed = quint8(80 + i % 70);
            const history::KvtIdentity kvt{QStringLiteral("KVT %1Zyl....").arg(1 + i % 3),
                                           QStringLiteral("2.%1").arg(i % 4), QStringLiteral("4.7"),
                                           QStringLiteral("1.3"), i / 4};
            const history::Event e = events[i % 5];
            const bool file = e == history::Event::FileSave || e == history::Event::FileLoad;
            now = now.addSecs(600);
            QElapsedTimer one;
            one.start();
            if (h.record(e, kvt,
                         file ? QStringLiteral("/home/werkstatt/Setups/kunde-%1/motor-%2.kvt")
                                    .arg(i % 200)
                                    .arg(i)
                              : QString(),
                         QStringLiteral("Abstimmung %1, Düse 2 getauscht").arg(i),
                         setup::encodeSetupBlock(record)) == 0) {
                std::fprintf(stderr, "record failed: %s\n", qPrintable(h.lastError()));
                return 1;
            }
            slowest = std::max(slowest, one.nsecsElapsed());
        }
        now = now.addDays(1);
    }
    const double seconds = total.nsecsElapsed() / 1e9;
    const int entries = days * perDay;
    QElapsedTimer listing;
    listing.start();
    const std::size_t listed = h.list().size();
    const double listMs = listing.nsecsElapsed() / 1e6;
    h.close();  // the last connection folds the journal into the file
    const QString path = history::SetupHistory::pathIn(dir.path());
    const qint64 size = QFileInfo(path).size();
    const qint64 wal = QFileInfo(path + QStringLiteral("-wal")).size();
    std::printf("entries %d (listed %zu)\n", entries, listed);
    std::printf("database %.1f MB (%lld bytes, %.0f bytes per entry), journal left %lld bytes\n",
                size / 1e6, size, double(size) / entries, wal);
    std::printf("record: mean %.2f ms, slowest %.1f ms; list of all: %.0f ms\n",
                seconds * 1000 / entries, slowest / 1e6, listMs);
    return size + wal < 100'000'000 ? 0 : 1;
}

// "kvt live": the program's polling cycle on its own, one line per "D" reply on stdout, until
// the count is reached or the user ends it with Ctrl+C (or the process gets SIGTERM); either
// way the port is closed and every line already written stays whole. SIGINT and SIGTERM end
// the loop after the reply it waits for (at most the 200 ms reply time-out).
#include "KvtVerbs.h"
#include "LiveColumns.h"
#include "StopSignals.h"

#include <chrono>
#include <sys/prctl.h>
#include <thread>

namespace cli {
namespace {

QString csvHeader()
{
    QString line = QStringLiteral("time [ms]");
    for (const LiveColumn& column : liveColumns())
        line += QLatin1Char(',') + liveColumnTitle(column);
    return line;
}

QString csvLine(qint64 timeMs, const devlink::LiveRecord& record)
{
    QString line = QString::number(timeMs);
    for (const LiveColumn& column : liveColumns())
        line += QLatin1Char(',') + liveValueText(column.value(record));
    return line;
}

// Written by hand to keep the columns in the reply's order (a JSON object sorts its keys).
QString jsonLine(qint64 timeMs, const devlink::LiveRecord& record)
{
    QString line = QStringLiteral("{\"time\":") + QString::number(timeMs);
    for (const LiveColumn& column : liveColumns())
        line += QStringLiteral(",\"") + QLatin1String(column.name) + QStringLiteral("\":") +
                liveValueText(column.value(record));
    return line + QLatin1Char('}');
}

}  // namespace

int kvtLive(KvtSession& session, const KvtOptions& options, QTextStream& out, QTextStream& err)
{
    if (const int opened = session.open(); opened != 0)
        return opened;
    const StopSignals stopSignals;
    // Wake-ups close to the period, as the program asks at its start: at 5 ms the kernel's
    // default slack would cost a noticeable share of the replies.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    devlink::DeviceLink& link = session.link();
    const qint64 startMs = link.line().clock().nowMs();
    bool readerGone = false;
    int written = 0;
    auto put = [&](const QString& line) {
        out << line << "\n";
        out.flush();
        readerGone = out.status() != QTextStream::Ok;
    };
    if (!options.json)
        put(csvHeader());
    using Clock = std::chrono::steady_clock;
    Clock::time_point replyAt = Clock::now();
    const devlink::LinkFeed::Id subscription =
        link.feed().onLiveRecord([&](const devlink::LiveRecord& record) {
            replyAt = Clock::now();
            const qint64 timeMs = link.line().clock().nowMs() - startMs;
            put(options.json ? jsonLine(timeMs, record) : csvLine(timeMs, record));
            ++written;
        });
    auto done = [&] {
        return StopSignals::requested() || readerGone ||
               (options.count > 0 && written >= options.count);
    };
    int status = 0;
    // The program's tick with the period after each one: a failed reply is reported by the
    // next connectStep, which identifies the KVT again before the next "D".
    while (!done()) {
        const int before = written;
        link.pollCycle();
        if (done())
            break;
        // The period rests from the reply on, as the program's COM timer starts after each
        // tick; writing the line takes its share of the rest, not of the next cycle. Without a
        // reply the full period follows the failed wait.
        const Clock::time_point from = written > before ? replyAt : Clock::now();
        std::this_thread::sleep_until(from + std::chrono::milliseconds(options.periodMs));
        link.connectStep();
        if (!link.portOpen()) {
            err << "motrix-cli: Verbindung zu " << session.portPath() << " verloren\n";
            status = 1;
            break;
        }
    }
    link.feed().remove(subscription);
    return status;
}

}  // namespace cli

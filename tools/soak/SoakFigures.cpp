// Counting and judging the soak's figures, and their text and JSON forms.
#include "SoakFigures.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <unistd.h>

namespace soak {

int ticksUntilIdentified(const std::vector<TickMark>& ticks, qint64 endMs)
{
    const auto first =
        std::lower_bound(ticks.begin(), ticks.end(), endMs,
                         [](const TickMark& t, qint64 ms) { return t.startMs < ms; });
    if (first == ticks.end())
        return -1;
    if (first->identifiedAtStart && first->identified)
        return 0;
    for (auto t = first; t != ticks.end(); ++t)
        if (t->identified)
            return int(t - first) + 1;
    return -1;
}

double SoakFigures::memoryGrowthPercent() const
{
    if (rssWarmKb <= 0)
        return 0.0;
    return 100.0 * double(rssEndKb - rssWarmKb) / double(rssWarmKb);
}

int SoakFigures::maxTicksToIdentify() const
{
    int worst = 0;
    for (int n : ticksToIdentify) {
        if (n < 0)
            return -1;
        worst = std::max(worst, n);
    }
    return worst;
}

std::map<int, int> SoakFigures::histogram() const
{
    std::map<int, int> h;
    for (int n : ticksToIdentify)
        ++h[n];
    return h;
}

QStringList SoakFigures::missed(const Targets& targets) const
{
    QStringList out;
    const int worst = maxTicksToIdentify();
    if (worst < 0)
        out << QStringLiteral("the KVT was not identified again after a fault");
    else if (worst > targets.maxTicksToIdentify)
        out << QStringLiteral("re-identification took %1 ticks (at most %2)")
                   .arg(worst)
                   .arg(targets.maxTicksToIdentify);
    if (hangs > 0)
        out << QStringLiteral("%1 hang(s): %2").arg(hangs).arg(hangPlaces);
    if (memoryGrowthPercent() > targets.maxMemoryGrowthPercent)
        out << QStringLiteral("resident memory grew %1 % (at most %2 %)")
                   .arg(memoryGrowthPercent(), 0, 'f', 1)
                   .arg(targets.maxMemoryGrowthPercent, 0, 'f', 1);
    if (faults.empty())
        out << QStringLiteral("no fault was injected");
    if (polls == 0)
        out << QStringLiteral("no poll was answered");
    return out;
}

QString SoakFigures::text(const Targets& targets, bool everyFault) const
{
    QString s;
    auto line = [&s](const QString& l) { s += l + QLatin1Char('\n'); };
    line(QStringLiteral("Link soak: %1 s, seed %2, warm-up %3 s")
             .arg(seconds)
             .arg(seed)
             .arg(warmUpSeconds));
    std::map<QString, int> byKind;
    std::map<QString, int> byTarget;
    for (const kvtsim::PlayedFault& f : faults) {
        ++byKind[kvtsim::lineFaultName(f.kind)];
        ++byTarget[kvtsim::faultTargetName(f.target)];
    }
    line(QStringLiteral("Faults injected: %1").arg(faults.size()));
    for (const auto& [kind, n] : byKind)
        line(QStringLiteral("  %1: %2").arg(kind, -14).arg(n));
    QStringList targetsText;
    for (const auto& [target, n] : byTarget)
        targetsText << QStringLiteral("%1 %2").arg(target).arg(n);
    line(QStringLiteral("  aimed at: ") + targetsText.join(QStringLiteral(", ")));
    line(QStringLiteral("Ticks from the end of a fault until identified again: max %1 "
                        "(target <= %2)")
             .arg(maxTicksToIdentify())
             .arg(targets.maxTicksToIdentify));
    QStringList hist;
    for (const auto& [n, count] : histogram())
        hist << QStringLiteral("%1: %2")
                    .arg(n < 0 ? QStringLiteral("never") : QString::number(n))
                    .arg(count);
    line(QStringLiteral("  histogram (ticks: faults): ") + hist.join(QStringLiteral(", ")));
    for (std::size_t i = 0; i < faults.size(); ++i)
        if (everyFault || ticksToIdentify[i] < 0 || ticksToIdentify[i] > targets.maxTicksToIdentify)
            line(QStringLiteral("  %1 ended at %2 ms: %3 ticks")
                     .arg(faults[i].describe())
                     .arg(faults[i].endMs)
                     .arg(ticksToIdentify[i]));
    line(QStringLiteral("Ticks: %1, polls answered: %2, identifications: %3")
             .arg(ticks)
             .arg(polls)
             .arg(identifications));
    line(QStringLiteral("Setup reads: %1 started, %2 completed")
             .arg(setupReadsStarted)
             .arg(setupReadsDone));
    const auto count = [this](char c) { return mapCommands.count(c); };
    line(QStringLiteral("Map edit: %1 keys, KVT received K %2, T %3, Z %4, M %5")
             .arg(mapKeys)
             .arg(count('K'))
             .arg(count('T'))
             .arg(count('Z'))
             .arg(count('M')));
    line(QStringLiteral("Hangs: %1 (longest stall of the event loop %2 ms)%3")
             .arg(hangs)
             .arg(longestStallMs)
             .arg(hangs ? QStringLiteral(" in ") + hangPlaces : QString()));
    line(QStringLiteral("Resident memory: %1 kB after warm-up, %2 kB at the end (max %3 kB), "
                        "growth %4 % (target <= %5 %)")
             .arg(rssWarmKb)
             .arg(rssEndKb)
             .arg(rssMaxKb)
             .arg(memoryGrowthPercent(), 0, 'f', 2)
             .arg(targets.maxMemoryGrowthPercent, 0, 'f', 1));
    line(QStringLiteral("Dialogs: %1 messages, %2 questions (answered Nein)")
             .arg(messageBoxes)
             .arg(questions));
    for (const QString& t : boxTexts)
        line(QStringLiteral("  ") + t);
    return s;
}

QByteArray SoakFigures::json(const Targets& targets) const
{
    QJsonObject o;
    o[QStringLiteral("seed")] = QString::number(seed);
    o[QStringLiteral("seconds")] = seconds;
    QJsonObject byKind;
    for (const kvtsim::PlayedFault& f : faults) {
        const QString k = kvtsim::lineFaultName(f.kind);
        byKind[k] = byKind[k].toInt() + 1;
    }
    o[QStringLiteral("faults")] = int(faults.size());
    o[QStringLiteral("faultsByKind")] = byKind;
    o[QStringLiteral("maxTicksToIdentify")] = maxTicksToIdentify();
    QJsonObject hist;
    for (const auto& [n, count] : histogram())
        hist[QString::number(n)] = count;
    o[QStringLiteral("ticksToIdentifyHistogram")] = hist;
    o[QStringLiteral("ticks")] = double(ticks);
    o[QStringLiteral("polls")] = double(polls);
    o[QStringLiteral("setupReads")] = double(setupReadsDone);
    o[QStringLiteral("mapKeys")] = double(mapKeys);
    o[QStringLiteral("hangs")] = hangs;
    o[QStringLiteral("crashes")] = 0;
    o[QStringLiteral("rssWarmKb")] = double(rssWarmKb);
    o[QStringLiteral("rssEndKb")] = double(rssEndKb);
    o[QStringLiteral("memoryGrowthPercent")] = memoryGrowthPercent();
    o[QStringLiteral("targetsMet")] = missed(targets).isEmpty();
    return QJsonDocument(o).toJson();
}

qint64 residentKb()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = f.readAll().split(' ');
    if (fields.size() < 2)
        return 0;
    return fields.at(1).toLongLong() * (::sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace soak

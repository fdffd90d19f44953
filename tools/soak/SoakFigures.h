// The figures of a link soak and how they are judged: ticks from the end of each fault until
// the program has the KVT identified again, polls, hangs, resident memory. Pure logic, so the
// counting rules can be tested without a run.
#pragma once

#include "FaultSchedule.h"

#include <QByteArray>
#include <QString>
#include <map>
#include <vector>

namespace soak {

// One tick of the program's main loop, seen from outside: when it ran and whether the device
// link had the KVT identified when it ended (identified, and no failed reply waiting to be
// evaluated by the next connectStep).
struct TickMark {
    qint64 startMs = 0;
    qint64 endMs = 0;
    bool identified = false;
    // Likewise when the tick started: a reply spoiled between ticks (a button's command)
    // shows here.
    bool identifiedAtStart = false;
};

// Ticks from the end of a fault (endMs) until identified again. The ticks counted are those
// starting at or after endMs, up to and including the first that ends identified. 0 when the
// fault cost nothing (the first tick after its end both started and ended identified); -1 when
// no later tick ended identified.
int ticksUntilIdentified(const std::vector<TickMark>& ticks, qint64 endMs);

struct Targets {
    int maxTicksToIdentify = 2;
    double maxMemoryGrowthPercent = 5.0;
};

struct SoakFigures {
    quint64 seed = 0;
    int seconds = 0;
    int warmUpSeconds = 0;
    std::vector<kvtsim::PlayedFault> faults;
    std::vector<int> ticksToIdentify;  // per fault, -1 for never
    qint64 ticks = 0;
    qint64 polls = 0;  // "D" replies taken into the live record
    qint64 identifications = 0;
    qint64 setupReadsStarted = 0;
    qint64 setupReadsDone = 0;
    qint64 mapKeys = 0;
    QByteArray mapCommands;  // "K", "T", "Z", "M" as the KVT received them
    int hangs = 0;
    QString hangPlaces;
    long long longestStallMs = 0;
    qint64 rssWarmKb = 0;
    qint64 rssEndKb = 0;
    qint64 rssMaxKb = 0;
    int messageBoxes = 0;
    int questions = 0;
    QStringList boxTexts;

    double memoryGrowthPercent() const;
    int maxTicksToIdentify() const;
    std::map<int, int> histogram() const;
    // The targets missed, in words; empty when all are met.
    QStringList missed(const Targets& targets) const;
    // everyFault lists each fault with its ticks, not only those over the target.
    QString text(const Targets& targets, bool everyFault = false) const;
    QByteArray json(const Targets& targets) const;
};

// The resident size of this process in kB (from /proc/self/statm).
qint64 residentKb();

}  // namespace soak

// FaultSchedule: a seeded random sequence of line faults played on a running PtyHost, so that a
// long run against the program (the link soak, or kvtsim --faults SEED by hand) meets silence,
// wrong first letters, short and long replies, stray bytes and a link that drops and returns,
// and the same seed meets them again in the same order with the same parameters.
//
// Faults come one at a time with a quiet gap between them, so that the program's recovery from
// each can be told apart. Each fault names the work it is meant to hit (polling, a setup read,
// a map edit); reply faults aimed at a setup read affect only the "L" reply, the others any
// reply. Whoever drives the program may look at the current fault's target and start that work.
//
// step() is called often (every few milliseconds) from any one thread; it starts and ends
// faults and keeps the record of every fault played. Time is the caller's, in milliseconds.
#pragma once

#include "PtyHost.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

namespace kvtsim {

enum class LineFault {
    Silence,      // no reply for a while (up to 1.5 s)
    LongSilence,  // the KVT silent for seconds
    WrongLetter,  // the next replies start with another letter
    ShortReply,   // the next replies lack their last byte
    LongReply,    // the next replies have one byte too many
    StrayBytes,   // a few bytes on the line, unasked
    LinkDrop,     // the terminal closes and comes back under the same path
};
inline constexpr int lineFaultKinds = 7;
QString lineFaultName(LineFault kind);

enum class FaultTarget { Polling, SetupRead, MapEdit };
inline constexpr int faultTargets = 3;
QString faultTargetName(FaultTarget target);

struct PlayedFault {
    LineFault kind = LineFault::Silence;
    FaultTarget target = FaultTarget::Polling;
    qint64 startMs = 0;
    qint64 endMs = -1;  // -1 while in progress
    int param = 0;      // duration (ms), reply count or byte count
    QString describe() const;
};

class FaultSchedule {
public:
    explicit FaultSchedule(std::uint64_t seed);

    // Starts and ends faults on host at time nowMs. Returns true when a fault started or ended.
    bool step(PtyHost& host, qint64 nowMs);
    // Ends a fault in progress at once (at the end of a run).
    void finish(PtyHost& host, qint64 nowMs);

    // The fault in progress, or nullptr between faults.
    const PlayedFault* current() const { return m_active ? &m_played.back() : nullptr; }
    // The target of the next fault and when it starts, so that the work it is aimed at can be
    // under way when it comes.
    FaultTarget nextTarget() const { return m_next.target; }
    qint64 nextStartMs() const { return m_nextStartMs; }
    const std::vector<PlayedFault>& played() const { return m_played; }
    std::uint64_t seed() const { return m_seed; }

    // Called for every start and end (kvtsim prints them).
    void setReporter(std::function<void(const PlayedFault&, bool started)> reporter)
    {
        m_reporter = std::move(reporter);
    }

private:
    void plan(qint64 afterMs);
    void begin(PtyHost& host, qint64 nowMs);
    void end(PtyHost& host, qint64 nowMs);

    std::uint64_t m_seed;
    std::mt19937_64 m_random;
    std::vector<PlayedFault> m_played;
    bool m_active = false;
    bool m_started = false;  // the first step sets the clock
    PlayedFault m_next;
    qint64 m_nextStartMs = 0;
    qint64 m_endDueMs = 0;  // timed faults: when they end; counted ones: when they give up
    std::function<void(const PlayedFault&, bool started)> m_reporter;
};

}  // namespace kvtsim

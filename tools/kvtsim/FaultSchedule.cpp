// The seeded fault sequence and how each fault is played on the host and its simulator.
#include "FaultSchedule.h"

namespace kvtsim {

namespace {
// A fault that waits for a reply that never gets asked for gives up after this.
constexpr qint64 countedGiveUpMs = 5000;

bool isReplyFault(LineFault kind)
{
    return kind == LineFault::Silence || kind == LineFault::WrongLetter ||
           kind == LineFault::ShortReply || kind == LineFault::LongReply;
}

Fault simulatorFault(LineFault kind)
{
    switch (kind) {
    case LineFault::Silence:
    case LineFault::LongSilence: return Fault::Silence;
    case LineFault::WrongLetter: return Fault::WrongLetter;
    case LineFault::ShortReply: return Fault::ShortReply;
    case LineFault::LongReply: return Fault::LongReply;
    case LineFault::StrayBytes:
    case LineFault::LinkDrop: break;
    }
    return Fault::None;
}
}  // namespace

QString lineFaultName(LineFault kind)
{
    switch (kind) {
    case LineFault::Silence: return QStringLiteral("silence");
    case LineFault::LongSilence: return QStringLiteral("long-silence");
    case LineFault::WrongLetter: return QStringLiteral("wrong-letter");
    case LineFault::ShortReply: return QStringLiteral("short-reply");
    case LineFault::LongReply: return QStringLiteral("long-reply");
    case LineFault::StrayBytes: return QStringLiteral("stray-bytes");
    case LineFault::LinkDrop: return QStringLiteral("link-drop");
    }
    return {};
}

QString faultTargetName(FaultTarget target)
{
    switch (target) {
    case FaultTarget::Polling: return QStringLiteral("polling");
    case FaultTarget::SetupRead: return QStringLiteral("setup-read");
    case FaultTarget::MapEdit: return QStringLiteral("map-edit");
    }
    return {};
}

QString PlayedFault::describe() const
{
    QString unit;
    switch (kind) {
    case LineFault::Silence:
    case LineFault::LongSilence:
    case LineFault::LinkDrop: unit = QStringLiteral(" ms"); break;
    case LineFault::StrayBytes: unit = QStringLiteral(" bytes"); break;
    default: unit = QStringLiteral(" replies"); break;
    }
    return lineFaultName(kind) + QStringLiteral(" (") + QString::number(param) + unit +
           QStringLiteral(", during ") + faultTargetName(target) + QStringLiteral(")");
}

FaultSchedule::FaultSchedule(std::uint64_t seed) : m_seed(seed), m_random(seed)
{
}

void FaultSchedule::plan(qint64 afterMs)
{
    auto uniform = [this](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(m_random);
    };
    // Weights by kind, in the order of LineFault.
    static constexpr std::array<int, lineFaultKinds> weights{3, 1, 3, 3, 3, 3, 2};
    std::discrete_distribution<int> kinds(weights.begin(), weights.end());
    PlayedFault next;
    next.kind = LineFault(kinds(m_random));
    const int t = uniform(0, 9);
    next.target = t < 5   ? FaultTarget::Polling
                  : t < 8 ? FaultTarget::SetupRead
                          : FaultTarget::MapEdit;
    switch (next.kind) {
    case LineFault::Silence: next.param = uniform(100, 1500); break;
    case LineFault::LongSilence: next.param = uniform(2000, 5000); break;
    case LineFault::WrongLetter:
    case LineFault::ShortReply:
    case LineFault::LongReply: next.param = uniform(1, 3); break;
    case LineFault::StrayBytes: next.param = uniform(1, 8); break;
    case LineFault::LinkDrop: next.param = uniform(300, 4000); break;
    }
    m_next = next;
    m_nextStartMs = afterMs + uniform(1500, 4000);
}

bool FaultSchedule::step(PtyHost& host, qint64 nowMs)
{
    if (!m_started) {
        m_started = true;
        plan(nowMs);
    }
    if (m_active) {
        const PlayedFault& f = m_played.back();
        bool over = nowMs >= m_endDueMs;
        if (!over && f.kind != LineFault::Silence && f.kind != LineFault::LongSilence &&
            isReplyFault(f.kind))
            over = host.withSimulator(
                [](KvtSimulator& sim) { return sim.fault().fault == Fault::None; });
        if (!over)
            return false;
        end(host, nowMs);
        return true;
    }
    if (nowMs < m_nextStartMs)
        return false;
    begin(host, nowMs);
    return true;
}

void FaultSchedule::begin(PtyHost& host, qint64 nowMs)
{
    PlayedFault f = m_next;
    f.startMs = nowMs;
    const char onlyFor = f.target == FaultTarget::SetupRead ? 'L' : 0;
    switch (f.kind) {
    case LineFault::Silence:
    case LineFault::LongSilence:
        host.withSimulator([&](KvtSimulator& sim) {
            sim.setFault({Fault::Silence, f.kind == LineFault::Silence ? onlyFor : char(0), -1});
        });
        m_endDueMs = nowMs + f.param;
        break;
    case LineFault::WrongLetter:
    case LineFault::ShortReply:
    case LineFault::LongReply:
        host.withSimulator([&](KvtSimulator& sim) {
            sim.setFault({simulatorFault(f.kind), onlyFor, f.param});
        });
        m_endDueMs = nowMs + countedGiveUpMs;
        break;
    case LineFault::StrayBytes: {
        QByteArray noise;
        for (int i = 0; i < f.param; ++i)
            noise.append(char(m_random() & 0xFF));
        host.injectStray(noise);
        m_endDueMs = nowMs;  // over once it is on the line
        break;
    }
    case LineFault::LinkDrop:
        host.dropLink(-1);
        m_endDueMs = nowMs + f.param;
        break;
    }
    m_played.push_back(f);
    m_active = true;
    if (m_reporter)
        m_reporter(m_played.back(), true);
}

void FaultSchedule::end(PtyHost& host, qint64 nowMs)
{
    PlayedFault& f = m_played.back();
    if (f.kind == LineFault::LinkDrop)
        host.reconnect();
    else if (f.kind != LineFault::StrayBytes)
        host.withSimulator([](KvtSimulator& sim) { sim.clearFault(); });
    f.endMs = nowMs;
    m_active = false;
    if (m_reporter)
        m_reporter(f, false);
    plan(nowMs);
}

void FaultSchedule::finish(PtyHost& host, qint64 nowMs)
{
    if (m_active)
        end(host, nowMs);
}

}  // namespace kvtsim

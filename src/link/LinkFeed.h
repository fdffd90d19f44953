// LinkFeed: what the polling cycle publishes and the questions it asks before it reads more.
//
// Subscribers get every decoded LiveRecord ("D") and the replies to "G" (learned injection
// map), "A" (sensor voltages) and "P" (expert values). "G", "A" and "P" cost a round trip each,
// so the cycle asks for one only while a registered "wanted" query answers true for it.
// Windows and logic of other subsystems plug in here; the link knows none of them.
//
// Handlers run on the thread that runs pollCycle(), in the order they were added. A handler
// must not add or remove subscriptions while it runs. Whoever lives shorter than the link
// removes its subscriptions with remove().
#pragma once

#include "link/LinkTypes.h"
#include "link/LiveRecord.h"

#include <QByteArray>
#include <functional>
#include <vector>

namespace devlink {

class PollCycle;

// The replies the cycle reads only on demand.
enum class OnDemand { LearnedMap, SensorVoltages, ExpertValues };

class LinkFeed final {
public:
    using Id = int;

    Id onLiveRecord(std::function<void(const LiveRecord&)> handler);
    Id onLearnedMap(std::function<void(const LearnedMap&)> handler);
    Id onSensorVoltages(std::function<void(const SensorVoltages&)> handler);
    Id onExpertValues(std::function<void(const QByteArray&)> handler);
    // The reply is read in a cycle when at least one query for it answers true.
    Id want(OnDemand reply, std::function<bool()> query);
    void remove(Id id);

private:
    friend class PollCycle;

    bool wanted(OnDemand reply) const;
    void publishLive(const LiveRecord& record) const { publish(m_live, record); }
    void publishLearnedMap(const LearnedMap& map) const { publish(m_learned, map); }
    void publishSensorVoltages(const SensorVoltages& v) const { publish(m_voltages, v); }
    void publishExpertValues(const QByteArray& bytes) const { publish(m_expert, bytes); }

    template <typename T>
    struct Entry {
        Id id;
        std::function<void(const T&)> handler;
    };
    struct Query {
        Id id;
        OnDemand reply;
        std::function<bool()> query;
    };

    template <typename T>
    static void publish(const std::vector<Entry<T>>& entries, const T& value)
    {
        for (const Entry<T>& e : entries)
            e.handler(value);
    }

    Id m_nextId = 1;
    std::vector<Entry<LiveRecord>> m_live;
    std::vector<Entry<LearnedMap>> m_learned;
    std::vector<Entry<SensorVoltages>> m_voltages;
    std::vector<Entry<QByteArray>> m_expert;
    std::vector<Query> m_queries;
};

}  // namespace devlink

// Subscriptions and on-demand queries of the polling cycle.
#include "link/LinkFeed.h"

#include <algorithm>

namespace devlink {

namespace {
template <typename List>
void dropId(List& list, int id)
{
    list.erase(std::remove_if(list.begin(), list.end(), [id](const auto& e) { return e.id == id; }),
               list.end());
}
}  // namespace

LinkFeed::Id LinkFeed::onLiveRecord(std::function<void(const LiveRecord&)> handler)
{
    m_live.push_back({m_nextId, std::move(handler)});
    return m_nextId++;
}

LinkFeed::Id LinkFeed::onLearnedMap(std::function<void(const LearnedMap&)> handler)
{
    m_learned.push_back({m_nextId, std::move(handler)});
    return m_nextId++;
}

LinkFeed::Id LinkFeed::onSensorVoltages(std::function<void(const SensorVoltages&)> handler)
{
    m_voltages.push_back({m_nextId, std::move(handler)});
    return m_nextId++;
}

LinkFeed::Id LinkFeed::onExpertValues(std::function<void(const QByteArray&)> handler)
{
    m_expert.push_back({m_nextId, std::move(handler)});
    return m_nextId++;
}

LinkFeed::Id LinkFeed::want(OnDemand reply, std::function<bool()> query)
{
    m_queries.push_back({m_nextId, reply, std::move(query)});
    return m_nextId++;
}

void LinkFeed::remove(Id id)
{
    dropId(m_live, id);
    dropId(m_learned, id);
    dropId(m_voltages, id);
    dropId(m_expert, id);
    dropId(m_queries, id);
}

bool LinkFeed::wanted(OnDemand reply) const
{
    return std::any_of(m_queries.begin(), m_queries.end(),
                       [reply](const Query& q) { return q.reply == reply && q.query(); });
}

}  // namespace devlink

// The sensor checks on every poll.
#include "test/SensorWatch.h"

namespace kvttest {

void SensorWatch::liveRecord(const devlink::LiveRecord& live)
{
    m_checks = checkTriggerWheel(live, m_record.triggerGaps, m_record.triggerTeeth);
    m_errors.count(live, m_checks, int(m_settings.sensorErrorMinSpeed));
}

}  // namespace kvttest

// Sampling of a power run.
#include "power/PowerSampler.h"

namespace power {

void PowerSampler::start()
{
    m_skipped = 0;
    m_runStart.reset();
}

std::optional<PowerSample> PowerSampler::next(const devlink::LiveRecord& record,
                                              int sampleInterval)
{
    if (m_skipped < sampleInterval) {
        ++m_skipped;
        return std::nullopt;
    }
    m_skipped = 0;
    const double t = record.timeStamp / 100.0;
    if (!m_runStart)
        m_runStart = t;
    return PowerSample {t - *m_runStart, record.rpmForMaps > 300 ? record.rpmForMaps : 0};
}

}  // namespace power

// Sampling of a power run from the polled LiveRecords: one sample every (interval + 1)th poll,
// timed from the run's first sample.
#pragma once

#include "link/LiveRecord.h"

#include <optional>

namespace power {

struct PowerSample {
    double timeMs = 0;  // since the run's first sample
    int speed = 0;      // rpm; 0 at 300 or below (engine standing)
};

class PowerSampler final {
public:
    // A run starts: the poll counter and the run's first time are taken anew.
    void start();
    // Called with every polled record while a run is on; sampleInterval is the number of polls
    // skipped between two samples.
    std::optional<PowerSample> next(const devlink::LiveRecord& record, int sampleInterval);

private:
    int m_skipped = 0;
    std::optional<double> m_runStart;
};

}  // namespace power

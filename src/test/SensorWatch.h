// Runs the trigger-wheel checks and the sensor-error counter on every polled LiveRecord,
// whether or not the test window is open, so that the window shows the count since the last
// reset when it opens.
#pragma once

#include "app/core/ProgramSettings.h"
#include "setup/SetupRecord.h"
#include "test/TriggerWheel.h"

namespace kvttest {

class SensorWatch final {
public:
    SensorWatch(const setup::SetupRecord& record, const app::ProgramSettings& settings)
        : m_record(record), m_settings(settings)
    {
    }

    // Subscribed to the link's live records.
    void liveRecord(const devlink::LiveRecord& live);

    const TriggerChecks& checks() const { return m_checks; }
    int errorCount() const { return m_errors.value(); }
    void resetErrorCount() { m_errors.reset(); }

private:
    const setup::SetupRecord& m_record;
    const app::ProgramSettings& m_settings;
    TriggerChecks m_checks;
    SensorErrorCounter m_errors;
};

}  // namespace kvttest

// Trigger-wheel checks of the test window ("Sensorstabilität") from one LiveRecord, the
// ignition mode it shows, and the sensor-error counter that runs with every poll.
#pragma once

#include "link/LiveRecord.h"

#include <QString>

namespace kvttest {

struct TriggerChecks {
    QString gapText;         // "Lückenerkennung:"
    QString signalText;      // "Signal erkannt:"
    QString teethText;       // "erkannte Zähnezahl:"
    QString revolutionText;  // "Umdrehung erkannt:"
    double gapRatio = 0;
    bool gapRatioValid = false;
    int countedTeeth = 0;
    int checksPassed = 0;  // 0-4; all four draw a green tick, fewer a red cross

    bool allPassed() const { return checksPassed == 4; }
};

// triggerGaps is "Anzahl Lücken:", triggerTeeth "Triggerrad [Zähne inkl. Lücke]:".
TriggerChecks checkTriggerWheel(const devlink::LiveRecord& record, int triggerGaps,
                                int triggerTeeth);

// Test window options: "Kennlinie" when fromCurve, else "Konstant v.OT [°KW]:" with the angle.
struct IgnitionMode {
    bool fromCurve = true;
    int constantAngle = 0;
};
IgnitionMode ignitionModeOf(const devlink::LiveRecord& record);

// Polls above the minimum speed whose checks did not all pass; wraps to 0 after 9999.
class SensorErrorCounter final {
public:
    void count(const devlink::LiveRecord& record, const TriggerChecks& checks, int minSpeed);
    int value() const { return m_count; }
    void reset() { m_count = 0; }

private:
    int m_count = 0;
};

}  // namespace kvttest

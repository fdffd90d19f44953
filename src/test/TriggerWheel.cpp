// Trigger-wheel checks and the sensor-error counter.
#include "test/TriggerWheel.h"

namespace kvttest {

TriggerChecks checkTriggerWheel(const devlink::LiveRecord& record, int triggerGaps,
                                int triggerTeeth)
{
    TriggerChecks c;
    // A tooth period of 0 has no ratio; it fails the gap check instead of dividing by zero.
    c.gapRatioValid = record.toothPeriod > 0;
    if (c.gapRatioValid)
        c.gapRatio = double(record.gapPeriod) / record.toothPeriod - 1.0;
    if (record.rpmForMaps > 0 && c.gapRatioValid) {
        c.gapText = QString::number(c.gapRatio, 'f', 2);
        if (triggerGaps - 0.3 < c.gapRatio && c.gapRatio < triggerGaps + 0.3) {
            c.gapText += QStringLiteral(" Ok");
            ++c.checksPassed;
        }
    } else {
        c.gapText = QStringLiteral("--");
    }

    if (record.signalDetected == 1) {
        c.signalText = QStringLiteral("Ok");
        ++c.checksPassed;
    } else {
        c.signalText = QStringLiteral("--");
    }

    c.countedTeeth = record.teethSeen + triggerGaps + 1;
    if (record.teethSeen == 0) {
        c.teethText = QStringLiteral("--");
        c.revolutionText = QStringLiteral("--");
    } else {
        c.teethText = QString::number(c.countedTeeth);
        if (c.countedTeeth == triggerTeeth) {
            c.teethText += QStringLiteral(" Ok");
            ++c.checksPassed;
        } else {
            c.teethText += QStringLiteral(" falsch");
        }
        if (c.countedTeeth == record.teethPerRevolution) {
            c.revolutionText = QStringLiteral("Ok");
            ++c.checksPassed;
        } else {
            c.revolutionText = QStringLiteral("falsch");
        }
    }
    return c;
}

IgnitionMode ignitionModeOf(const devlink::LiveRecord& record)
{
    return {record.ignitionMode == 255, record.ignitionMode - 50};
}

void SensorErrorCounter::count(const devlink::LiveRecord& record, const TriggerChecks& checks,
                               int minSpeed)
{
    if (record.rpmForMaps <= minSpeed || checks.allPassed())
        return;
    ++m_count;
    if (m_count > 9999)
        m_count = 0;
}

}  // namespace kvttest

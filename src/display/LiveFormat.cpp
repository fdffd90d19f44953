// Number formats of the live panel.
#include "display/LiveFormat.h"

#include <cmath>

namespace display {

QString correctionPercentText(int correctionPercent)
{
    return QString::number(correctionPercent) + QLatin1Char('%');
}

int correctionChangeUs(int injectionBase, int correctionPercent)
{
    // C++ integer division truncates toward zero, as the KVT's own arithmetic does.
    return injectionBase * correctionPercent / 100 - injectionBase;
}

QString lambdaVoltsText(double millivolts)
{
    return QString::number(millivolts / 1000.0, 'f', 2);
}

std::optional<QString> switchStateText(int byte)
{
    if (byte == 0)
        return QStringLiteral("Aus");
    if (byte == 1)
        return QStringLiteral("Ein");
    return std::nullopt;
}

QString temperatureText(double celsius)
{
    return QString::number(std::lrint(celsius));
}

QString ignitionAngleText(int ignitionAngleByte)
{
    return QString::number(ignitionAngleByte - 50);
}

LiveTexts liveTexts(const devlink::LiveRecord& record, int injectionWarnPercent)
{
    LiveTexts t;
    t.rpm = QString::number(record.rpm);
    t.throttle = QString::number(record.throttle);
    t.engineTemp = temperatureText(record.engineTemp);
    t.airTemp = temperatureText(record.airTemp);
    t.ignitionBase = QString::number(record.ignitionBase);
    t.ignitionAngle = ignitionAngleText(record.ignitionAngle);
    t.injectionBase = QString::number(record.injectionBase);
    t.airCorrectionPercent = correctionPercentText(record.airTempCorrection);
    t.airCorrectionUs =
        QString::number(correctionChangeUs(record.injectionBase, record.airTempCorrection));
    t.engineCorrectionPercent = correctionPercentText(record.engineTempCorrection);
    t.engineCorrectionUs =
        QString::number(correctionChangeUs(record.injectionBase, record.engineTempCorrection));
    t.injectionTime = QString::number(record.injectionTime);
    t.output1 = switchStateText(record.output1);
    t.output2 = switchStateText(record.output2);
    t.input1 = switchStateText(record.input1);
    t.input2 = switchStateText(record.input2);
    t.input3 = switchStateText(record.input3);
    for (std::size_t i = 0; i < t.lambda.size(); ++i)
        t.lambda[i] = lambdaVoltsText(record.lambda[i]);
    t.cpuTemperature = QString::number(record.cpuTemperature);
    // The warning uses the speed limited for the maps, so a speed above 16000 rpm is judged
    // as 16000.
    t.injectionTimeColor =
        display::injectionTimeColor(record.injectionTime, record.rpmForMaps, injectionWarnPercent);
    t.cpuTemperatureColor = display::cpuTemperatureColor(record.cpuTemperature);
    return t;
}

LimiterTexts limiterTexts(int limiterSpeed, int limiterRetard)
{
    return {QString::number(limiterSpeed * 100), QString::number(limiterRetard)};
}

IdentityTexts identityTexts(const devlink::DeviceIdentity& identity)
{
    return {identity.hw, identity.sw};
}

}  // namespace display

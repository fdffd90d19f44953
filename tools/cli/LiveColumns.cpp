// The columns of the live values.
#include "LiveColumns.h"

#include <array>

namespace cli {
namespace {

using devlink::LiveRecord;

const std::array<LiveColumn, 31> columns{{
    {"rpm", "U/min", [](const LiveRecord& r) { return double(r.rpm); }},
    {"throttle", "%", [](const LiveRecord& r) { return double(r.throttle); }},
    {"engineTemp", "°C", [](const LiveRecord& r) { return r.engineTemp; }},
    {"airTemp", "°C", [](const LiveRecord& r) { return r.airTemp; }},
    {"ignitionBase", "", [](const LiveRecord& r) { return double(r.ignitionBase); }},
    // Sent with 50 added, as the main window shows it.
    {"ignitionAngle", "°KW", [](const LiveRecord& r) { return double(r.ignitionAngle - 50); }},
    {"injectionBase", "µs", [](const LiveRecord& r) { return double(r.injectionBase); }},
    {"airTempCorrection", "%", [](const LiveRecord& r) { return double(r.airTempCorrection); }},
    {"engineTempCorrection", "%",
     [](const LiveRecord& r) { return double(r.engineTempCorrection); }},
    {"injectionTime", "µs", [](const LiveRecord& r) { return double(r.injectionTime); }},
    {"output1", "", [](const LiveRecord& r) { return double(r.output1); }},
    {"output2", "", [](const LiveRecord& r) { return double(r.output2); }},
    {"input1", "", [](const LiveRecord& r) { return double(r.input1); }},
    {"input2", "", [](const LiveRecord& r) { return double(r.input2); }},
    {"input3", "", [](const LiveRecord& r) { return double(r.input3); }},
    {"lambda1", "mV", [](const LiveRecord& r) { return r.lambda[0]; }},
    {"lambda2", "mV", [](const LiveRecord& r) { return r.lambda[1]; }},
    {"lambda3", "mV", [](const LiveRecord& r) { return r.lambda[2]; }},
    {"ignitionMode", "", [](const LiveRecord& r) { return double(r.ignitionMode); }},
    {"signalDetected", "", [](const LiveRecord& r) { return double(r.signalDetected); }},
    {"teethSeen", "", [](const LiveRecord& r) { return double(r.teethSeen); }},
    {"teethPerRevolution", "", [](const LiveRecord& r) { return double(r.teethPerRevolution); }},
    {"toothPeriod", "", [](const LiveRecord& r) { return double(r.toothPeriod); }},
    {"gapPeriod", "", [](const LiveRecord& r) { return double(r.gapPeriod); }},
    {"timeStamp", "10 µs", [](const LiveRecord& r) { return double(r.timeStamp); }},
    {"statusFlag1", "", [](const LiveRecord& r) { return double(r.statusFlag1); }},
    {"statusFlag2", "", [](const LiveRecord& r) { return double(r.statusFlag2); }},
    {"statusFlag3", "", [](const LiveRecord& r) { return double(r.statusFlag3); }},
    {"cpuTemperature", "°C", [](const LiveRecord& r) { return double(r.cpuTemperature); }},
    {"emergencyProgram", "", [](const LiveRecord& r) { return double(r.emergencyProgram); }},
    {"statusFlag4", "", [](const LiveRecord& r) { return double(r.statusFlag4); }},
}};

}  // namespace

std::span<const LiveColumn> liveColumns()
{
    return columns;
}

QString liveColumnTitle(const LiveColumn& column)
{
    const QString name = QString::fromLatin1(column.name);
    if (*column.unit == '\0')
        return name;
    return name + QStringLiteral(" [") + QString::fromUtf8(column.unit) + QLatin1Char(']');
}

QString liveValueText(double value)
{
    return QString::number(value, 'g', 10);
}

}  // namespace cli

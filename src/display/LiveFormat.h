// The texts the main window's live panel shows for one LiveRecord, the limiter texts and the
// "Verbundene KVT" texts. Integers carry no decimals and no thousands separators; decimals use
// a point.
#pragma once

#include "display/LiveColors.h"
#include "link/LinkTypes.h"
#include "link/LiveRecord.h"

#include <QString>
#include <array>
#include <optional>

namespace display {

// A correction in per cent as shown beside "Korr. ...": "104%".
QString correctionPercentText(int correctionPercent);
// The change a correction makes in µs: base × c / 100 − base, the division truncating toward
// zero (95 % on 1000 µs gives -50).
int correctionChangeUs(int injectionBase, int correctionPercent);
// Lambda voltage: millivolts / 1000 with two decimals (850 mV gives "0.85").
QString lambdaVoltsText(double millivolts);
// "Aus" for 0, "Ein" for 1; nothing for any other byte, which leaves the label as it was.
std::optional<QString> switchStateText(int byte);
// A temperature the record keeps as a real number, as a whole number of °C.
QString temperatureText(double celsius);
// The resulting ignition angle: the byte as received minus 50, °KW before top dead centre.
QString ignitionAngleText(int ignitionAngleByte);

// Every live label of the main window for one record, with the two warning colours.
struct LiveTexts {
    QString rpm;
    QString throttle;
    QString engineTemp;
    QString airTemp;
    QString ignitionBase;
    QString ignitionAngle;
    QString injectionBase;
    QString airCorrectionPercent;
    QString airCorrectionUs;
    QString engineCorrectionPercent;
    QString engineCorrectionUs;
    QString injectionTime;
    std::optional<QString> output1;
    std::optional<QString> output2;
    std::optional<QString> input1;
    std::optional<QString> input2;
    std::optional<QString> input3;
    std::array<QString, 3> lambda;
    QString cpuTemperature;
    Rgb injectionTimeColor;
    Rgb cpuTemperatureColor;
};

LiveTexts liveTexts(const devlink::LiveRecord& record, int injectionWarnPercent);

// "Begrenzer (" shows limiterSpeed × 100 (rpm), "):" shows limiterRetard.
struct LimiterTexts {
    QString speed;
    QString retard;
};
LimiterTexts limiterTexts(int limiterSpeed, int limiterRetard);

// "Verbundene KVT: HW:" and "SW:"; both empty when no KVT is identified.
struct IdentityTexts {
    QString hw;
    QString sw;
};
IdentityTexts identityTexts(const devlink::DeviceIdentity& identity);

}  // namespace display
